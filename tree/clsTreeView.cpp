#include "tree/clsTreeView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QMouseEvent>

#include <algorithm>
#include <vector>

clsTreeView::clsTreeView(QWidget* parent)
    : QTreeView(parent)
{
    setModel(&m_nodes);
    setHeaderHidden(true);
    // The one column is sized by FitColumn.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Fixed);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeView::expanded, &m_nodes, [this](const QModelIndex& index) { m_nodes.SetExpanded(index, true); });
    connect(this, &QTreeView::collapsed, &m_nodes, [this](const QModelIndex& index) { m_nodes.SetExpanded(index, false); });
}

int clsTreeView::SelectedItem() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? TreeNodeModel::NoNode : TreeNodeModel::NodeOf(selected.first());
}

void clsTreeView::SelectItem(int node)
{
    const QModelIndex index = m_nodes.IndexOf(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void clsTreeView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTreeView::scrollTo(index, hint);
    // The view scrolls sideways only to the column, not to a row's
    // indentation: a deeply nested row is brought into sight here.
    const QRect row = visualRect(index);
    if (row.isValid() && (row.left() < 0 || row.left() >= viewport()->width()))
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + row.left() - indentation());
}

// The column fills the tree's width, and is as wide as the rows around the
// ones in sight need, so that a name is cut only where it really does not
// fit and deep or long rows are reached by scrolling sideways. The view
// measures rows near those in sight only (a document has 100,000), so the
// width is found again whenever other rows come into sight.
void clsTreeView::FitColumn()
{
    if (m_fittingColumn)
        return;
    m_fittingColumn = true;
    int width = std::max(viewport()->width(), sizeHintForColumn(0));
    // The view leaves the last row out of its measure when it is in sight;
    // the rows in sight are measured here.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (QModelIndex row = indexAt(QPoint(0, 0)); row.isValid(); row = indexBelow(row)) {
        const QRect rect = visualRect(row);
        if (rect.top() >= viewport()->height())
            break;
        width = std::max(width, rect.left() + horizontalOffset() + itemDelegateForIndex(row)->sizeHint(option, row).width());
    }
    if (header()->sectionSize(0) != width)
        header()->resizeSection(0, width);
    m_fittingColumn = false;
}

void clsTreeView::updateGeometries()
{
    QTreeView::updateGeometries();
    FitColumn();
}

void clsTreeView::scrollContentsBy(int dx, int dy)
{
    QTreeView::scrollContentsBy(dx, dy);
    if (dy != 0)
        FitColumn();
}

void clsTreeView::mousePressEvent(QMouseEvent* event)
{
    // The view would clear the selection on empty space; the click handler
    // relies on the selected node surviving such a click.
    if (!indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void clsTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Click();
}

void clsTreeView::keyPressEvent(QKeyEvent* event)
{
    const int before = SelectedItem();
    if (event->key() == Qt::Key_Asterisk && currentIndex().isValid() && itemsExpandable()) {
        ExpandAllBelow(currentIndex());
        // What the view does with every key besides: the search by a row's
        // first letters.
        QAbstractItemView::keyPressEvent(event);
    } else {
        QTreeView::keyPressEvent(event);
    }
    if (SelectedItem() != before)
        emit Click();
}

void clsTreeView::ExpandAllBelow(const QModelIndex& top)
{
    // The view's own "*" marks every row below as expanded, leaves too, each
    // with a lasting index of its own: a second and more on a large
    // document. Only rows with children are expanded here, all before the
    // one layout that follows.
    scheduleDelayedItemsLayout();
    expand(top);
    std::vector<QModelIndex> pending{top};
    while (!pending.empty()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        const int rows = m_nodes.rowCount(parent);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = m_nodes.index(row, 0, parent);
            if (m_nodes.flags(child).testFlag(Qt::ItemNeverHasChildren))
                continue;
            expand(child);
            pending.push_back(child);
        }
    }
}
