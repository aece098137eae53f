#pragma once

#include "model/ColumnValue.h"
#include "platform/MemoryArena.h"

#include <QHash>
#include <QString>

#include <memory_resource>
#include <vector>

// The nodes of a document tree, apart from any view: each with a key ("Node "
// and its record's number), a text, an image and an image for when it is
// expanded, numbered in the order they were added. A node keeps its
// record's number and name as they were when it was drawn; its key text is
// made only when asked for. Children are found by position, and nothing
// here recurses, so trees of any depth and size are drawn in linear time.
class TreeNodes
{
public:
    static constexpr int NoNode = -1;

    // A node's key is made and read here only.
    static QString KeyOf(const ColumnValue& number);
    // "Node 1": the node of the document's root, record number 1.
    static bool IsRootKey(const QString& key);
    // The record's number as its parent's m_dicAdressen keys it: "12" of
    // "Node 12".
    static QString RecordKeyOf(const QString& key);

    // Adds a node as the last child of parent, or as a top-level node for
    // NoNode. Throws when its key is taken.
    int Add(int parent, const ColumnValue& number, const ColumnValue& text, int image);
    void SetExpandedImage(int node, int image) { m_nodes[size_t(node)].expandedImage = qint8(image); }
    void SetExpanded(int node, bool expanded) { m_nodes[size_t(node)].expanded = expanded; }

    int Count() const { return int(m_nodes.size()); }
    // Makes room for count nodes in all, for a caller that knows how many
    // are coming.
    void Reserve(int count) { m_nodes.reserve(size_t(count)); }
    // The node with this key, or NoNode.
    int FindKey(const QString& key) const;
    QString Key(int node) const { return KeyOf(m_nodes[size_t(node)].number); }
    QString Text(int node) const { return m_nodes[size_t(node)].text.Text(); }
    int Parent(int node) const { return m_nodes[size_t(node)].parent; }
    // The node's place among its parent's children.
    int Row(int node) const { return m_nodes[size_t(node)].row; }
    // 1 for a top-level node.
    int Depth(int node) const { return m_nodes[size_t(node)].depth; }
    int Image(int node) const { return m_nodes[size_t(node)].image; }
    int ExpandedImage(int node) const { return m_nodes[size_t(node)].expandedImage; }
    bool IsExpanded(int node) const { return m_nodes[size_t(node)].expanded; }
    // Of NoNode: the top-level nodes.
    int ChildCount(int node) const { return node == NoNode ? m_topLevelCount : m_nodes[size_t(node)].childCount; }
    int Child(int node, int row) const;

private:
    struct Node
    {
        ColumnValue number;
        ColumnValue text;
        int parent;
        int row;
        int depth;
        int childCount = 0;
        qint8 image;
        qint8 expandedImage = 0;
        bool expanded = false;
    };

    void ListChildren() const;

    std::pmr::vector<Node> m_nodes{LargeArrayMemory()};
    int m_topLevelCount = 0;
    // While the record numbers come in ascending order, as a document's do,
    // keys are unique without looking and found by bisection; after that,
    // through this index.
    bool m_ascending = true;
    qint32 m_lastNumber = 0;
    QHash<QString, int> m_byKey;
    // Every node's children one after another, top-level nodes last; made
    // when first asked for after a change.
    mutable std::vector<int> m_childList;
    mutable std::vector<int> m_firstChild;
};
