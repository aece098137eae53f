#pragma once

#include "tree/TreeNodeModel.h"

#include <QTreeView>

// The document window's tree: a tree view over its own node store, offering
// the node operations the records draw themselves with. It reports every
// left click, on a node or on empty space, as Click(); a click on empty
// space keeps the node that was selected. A key that moves the selection
// (arrows, Home, End, a node's first letter) reports Click() as well.
class clsTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit clsTreeView(QWidget* parent = nullptr);

    TreeNodeModel& Nodes() { return m_nodes; }
    const TreeNodeModel& Nodes() const { return m_nodes; }

    // The selected node, or TreeNodeModel::NoNode.
    int SelectedItem() const;
    void SelectItem(int node);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void FitColumn();
    // Expands top and every row below it that has children.
    void ExpandAllBelow(const QModelIndex& top);

    TreeNodeModel m_nodes;
    bool m_fittingColumn = false;
};
