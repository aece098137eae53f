#include "tree/TreeNodeModel.h"

namespace {

// A row's internal id: its node, or for the row that stands for the levels
// below a node on the last level shown, that node with this bit.
constexpr quintptr DeeperLevelsBit = quintptr(1) << (sizeof(quintptr) * 8 - 2);

}

void TreeNodeModel::SetImageList(QList<QIcon> images)
{
    m_images = std::move(images);
}

void TreeNodeModel::Show(TreeNodes nodes)
{
    beginResetModel();
    std::swap(m_nodes, nodes);
    endResetModel();
    // The previous nodes go only now, after the view has let go of them.
}

void TreeNodeModel::Change(const std::function<void(TreeNodes&)>& change)
{
    beginResetModel();
    try {
        change(m_nodes);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

QList<int> TreeNodeModel::Children(int node) const
{
    QList<int> children;
    for (int row = 0; row < m_nodes.ChildCount(node); ++row)
        children.append(m_nodes.Child(node, row));
    return children;
}

int TreeNodeModel::ShownImage(int node) const
{
    // A leaf can be marked expanded (the view's expand-all does), but only a
    // node that shows children shows its expanded image.
    const bool open = m_nodes.IsExpanded(node) && m_nodes.ChildCount(node) > 0;
    return open && m_nodes.ExpandedImage(node) > 0 ? m_nodes.ExpandedImage(node) : m_nodes.Image(node);
}

QModelIndex TreeNodeModel::IndexOf(int node) const
{
    if (node < 0 || node >= Count())
        return {};
    while (m_nodes.Depth(node) > MaxShownDepth)
        node = m_nodes.Parent(node);
    return createIndex(m_nodes.Row(node), 0, quintptr(node));
}

int TreeNodeModel::NodeOf(const QModelIndex& index)
{
    return index.isValid() && !(index.internalId() & DeeperLevelsBit) ? int(index.internalId()) : NoNode;
}

void TreeNodeModel::SetExpanded(const QModelIndex& index, bool expanded)
{
    const int node = NodeOf(index);
    if (node == NoNode)
        return;
    m_nodes.SetExpanded(node, expanded);
    // Only a node with children shows another image when expanded.
    static const QList<int> roles{Qt::DecorationRole};
    if (m_nodes.ChildCount(node) > 0)
        emit dataChanged(index, index, roles);
}

QModelIndex TreeNodeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    const int node = NodeOf(parent);
    if (node != NoNode && m_nodes.Depth(node) == MaxShownDepth)
        return createIndex(0, 0, quintptr(node) | DeeperLevelsBit);
    return createIndex(row, 0, quintptr(m_nodes.Child(node, row)));
}

QModelIndex TreeNodeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    if (child.internalId() & DeeperLevelsBit)
        return IndexOf(int(child.internalId() & ~DeeperLevelsBit));
    return IndexOf(m_nodes.Parent(NodeOf(child)));
}

int TreeNodeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0 || (parent.isValid() && NodeOf(parent) == NoNode))
        return 0;
    const int node = NodeOf(parent);
    const int children = m_nodes.ChildCount(node);
    if (node != NoNode && m_nodes.Depth(node) == MaxShownDepth)
        return children > 0 ? 1 : 0;
    return children;
}

int TreeNodeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TreeNodeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int node = NodeOf(index);
    if (node == NoNode) {
        if (role == Qt::DisplayRole)
            return QStringLiteral("Tiefere Ebenen werden nicht angezeigt.");
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Die Adressen darunter bleiben im Dokument und werden mit ihm gespeichert.");
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_nodes.Text(node);
    case Qt::DecorationRole: {
        const int image = ShownImage(node);
        if (image >= 1 && image <= m_images.size())
            return m_images[image - 1];
        return {};
    }
    default:
        return {};
    }
}

QVariant TreeNodeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The header is hidden; screen readers still name the column by it.
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Adressen");
    return QAbstractItemModel::headerData(section, orientation, role);
}

Qt::ItemFlags TreeNodeModel::flags(const QModelIndex& index) const
{
    // The row for deeper levels is shown greyed and cannot be selected.
    if (index.isValid() && NodeOf(index) == NoNode)
        return Qt::ItemNeverHasChildren;
    // Said of a leaf, the view neither expands it (also not by "*" or
    // expand-all, so a screen reader never hears an address without
    // sub-records called expanded) nor looks up whether it is expanded:
    // "*" on a large document touches only the nodes with children. A node
    // that gets children later is shown anew by a reset, which asks again.
    const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    return index.isValid() && rowCount(index) == 0 ? flags | Qt::ItemNeverHasChildren : flags;
}
