#include "tree/TreeNodeModel.h"

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
    return createIndex(m_nodes.Row(node), 0, quintptr(node));
}

int TreeNodeModel::NodeOf(const QModelIndex& index)
{
    return index.isValid() ? int(index.internalId()) : NoNode;
}

void TreeNodeModel::SetExpanded(const QModelIndex& index, bool expanded)
{
    const int node = NodeOf(index);
    if (node == NoNode)
        return;
    m_nodes.SetExpanded(node, expanded);
    emit dataChanged(index, index, {Qt::DecorationRole});
}

QModelIndex TreeNodeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, quintptr(m_nodes.Child(NodeOf(parent), row)));
}

QModelIndex TreeNodeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return IndexOf(m_nodes.Parent(NodeOf(child)));
}

int TreeNodeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return m_nodes.ChildCount(NodeOf(parent));
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
