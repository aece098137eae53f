#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QList>

#include <vector>

// The nodes of the document tree: each with a key, a text, an image and an
// image for when it is expanded, addressed by a numeric id (its place in
// the store). Nodes are found by key through a hash; nothing here recurses,
// so trees of any depth and size are drawn and dropped in linear time.
class TreeNodeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    static constexpr int NoNode = -1;

    using QAbstractItemModel::QAbstractItemModel;

    // The pictures the 1-based image numbers refer to.
    void SetImageList(QList<QIcon> images);

    void Clear();
    // Adds a node as the last child of the node keyed relativeKey, or as a
    // top-level node when relativeKey is empty. Throws when the key is taken
    // or the relative key is unknown.
    int Add(const QString& relativeKey, const QString& key, const QString& text, int image);
    void SetExpandedImage(int node, int image);

    int Count() const { return int(m_nodes.size()); }
    int FindKey(const QString& key) const { return m_byKey.value(key, NoNode); }
    int Parent(int node) const { return m_nodes[size_t(node)].parent; }
    const QString& Key(int node) const { return m_nodes[size_t(node)].key; }
    const QString& Text(int node) const { return m_nodes[size_t(node)].text; }
    int Image(int node) const { return m_nodes[size_t(node)].image; }
    int ExpandedImage(int node) const { return m_nodes[size_t(node)].expandedImage; }
    // The image the node shows now: its expanded image while it is expanded.
    int ShownImage(int node) const;
    QList<int> Children(int node) const;
    QList<int> TopLevel() const;

    QModelIndex IndexOf(int node) const;
    static int NodeOf(const QModelIndex& index);
    void SetExpanded(const QModelIndex& index, bool expanded);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Node
    {
        QString key;
        QString text;
        int image = 0;
        int expandedImage = 0;
        int parent = NoNode;
        int row = 0;
        bool expanded = false;
        std::vector<int> children;
    };

    const std::vector<int>& ChildrenOf(int node) const;

    std::vector<Node> m_nodes;
    std::vector<int> m_topLevel;
    QHash<QString, int> m_byKey;
    QList<QIcon> m_images;
};
