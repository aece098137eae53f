#include "tree/TreeNodeModel.h"

#include "model/Failure.h"

void TreeNodeModel::SetImageList(QList<QIcon> images)
{
    m_images = std::move(images);
}

void TreeNodeModel::Clear()
{
    beginResetModel();
    m_nodes.clear();
    m_topLevel.clear();
    m_byKey.clear();
    endResetModel();
}

int TreeNodeModel::Add(const QString& relativeKey, const QString& key, const QString& text, int image)
{
    if (m_byKey.contains(key))
        throw Failure(QStringLiteral("Der Schlüssel \"%1\" ist in der Auflistung nicht eindeutig.").arg(key));
    int parent = NoNode;
    if (!relativeKey.isEmpty()) {
        parent = FindKey(relativeKey);
        if (parent == NoNode)
            throw Failure(QStringLiteral("Element \"%1\" nicht gefunden.").arg(relativeKey));
    }

    const int id = int(m_nodes.size());
    std::vector<int>& siblings = parent == NoNode ? m_topLevel : m_nodes[size_t(parent)].children;
    const int row = int(siblings.size());
    beginInsertRows(parent == NoNode ? QModelIndex() : IndexOf(parent), row, row);
    m_nodes.push_back(Node{key, text, image, 0, parent, row, false, {}});
    // m_nodes may have moved; take the sibling list again.
    (parent == NoNode ? m_topLevel : m_nodes[size_t(parent)].children).push_back(id);
    m_byKey.insert(key, id);
    endInsertRows();
    return id;
}

void TreeNodeModel::SetExpandedImage(int node, int image)
{
    m_nodes[size_t(node)].expandedImage = image;
    if (m_nodes[size_t(node)].expanded) {
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index, {Qt::DecorationRole});
    }
}

QList<int> TreeNodeModel::Children(int node) const
{
    const std::vector<int>& children = ChildrenOf(node);
    return QList<int>(children.begin(), children.end());
}

QList<int> TreeNodeModel::TopLevel() const
{
    return Children(NoNode);
}

QModelIndex TreeNodeModel::IndexOf(int node) const
{
    if (node < 0 || node >= Count())
        return {};
    return createIndex(m_nodes[size_t(node)].row, 0, quintptr(node));
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
    m_nodes[size_t(node)].expanded = expanded;
    emit dataChanged(index, index, {Qt::DecorationRole});
}

const std::vector<int>& TreeNodeModel::ChildrenOf(int node) const
{
    return node == NoNode ? m_topLevel : m_nodes[size_t(node)].children;
}

int TreeNodeModel::ShownImage(int node) const
{
    // A leaf can be marked expanded (the view's expand-all does), but only a
    // node that shows children shows its expanded image.
    const Node& n = m_nodes[size_t(node)];
    const bool open = n.expanded && !n.children.empty();
    return open && n.expandedImage > 0 ? n.expandedImage : n.image;
}

QModelIndex TreeNodeModel::index(int row, int column, const QModelIndex& parent) const
{
    const std::vector<int>& children = ChildrenOf(NodeOf(parent));
    if (column != 0 || row < 0 || row >= int(children.size()))
        return {};
    return createIndex(row, 0, quintptr(children[size_t(row)]));
}

QModelIndex TreeNodeModel::parent(const QModelIndex& child) const
{
    const int node = NodeOf(child);
    return node == NoNode ? QModelIndex() : IndexOf(m_nodes[size_t(node)].parent);
}

int TreeNodeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(ChildrenOf(NodeOf(parent)).size());
}

int TreeNodeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TreeNodeModel::data(const QModelIndex& index, int role) const
{
    const int node = NodeOf(index);
    if (node == NoNode)
        return {};
    const Node& n = m_nodes[size_t(node)];
    switch (role) {
    case Qt::DisplayRole:
        return n.text;
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
