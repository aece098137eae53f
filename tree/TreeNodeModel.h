#pragma once

#include "tree/TreeNodes.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>

#include <functional>

// The document tree's nodes as the view sees them. A tree is drawn apart
// and shown in one model reset.
//
// The view lays out expanded rows recursively, one call deeper per level,
// so a document nested some 25,000 levels deep overflows the stack once all
// of it is expanded (by "*", or by selecting its deepest node). The view
// therefore shows no more than MaxShownDepth levels, which take a few
// hundred kilobytes of stack: a node on the last of them that has
// sub-records shows one greyed row saying that deeper levels are not shown,
// in place of its children. The records below stay in the document and are
// saved with it.
class TreeNodeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    static constexpr int NoNode = TreeNodes::NoNode;
    static constexpr int MaxShownDepth = 1000;

    using QAbstractItemModel::QAbstractItemModel;

    // The pictures the 1-based image numbers refer to.
    void SetImageList(QList<QIcon> images);

    // Shows these nodes in place of all that were shown.
    void Show(TreeNodes nodes);
    void Clear() { Show(TreeNodes()); }
    // Changes the nodes in one reset, also when change throws.
    void Change(const std::function<void(TreeNodes&)>& change);

    int Count() const { return m_nodes.Count(); }
    int FindKey(const QString& key) const { return m_nodes.FindKey(key); }
    int Parent(int node) const { return m_nodes.Parent(node); }
    QString Key(int node) const { return m_nodes.Key(node); }
    QString Text(int node) const { return m_nodes.Text(node); }
    int Image(int node) const { return m_nodes.Image(node); }
    int ExpandedImage(int node) const { return m_nodes.ExpandedImage(node); }
    // The image the node shows now: its expanded image while it is expanded.
    int ShownImage(int node) const;
    QList<int> Children(int node) const;
    QList<int> TopLevel() const { return Children(NoNode); }

    // The row of a node; for a node below the levels shown, the row of its
    // ancestor on the last level shown.
    QModelIndex IndexOf(int node) const;
    // The node of a row; NoNode for the row that stands for deeper levels.
    static int NodeOf(const QModelIndex& index);
    void SetExpanded(const QModelIndex& index, bool expanded);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TreeNodes m_nodes;
    QList<QIcon> m_images;
};
