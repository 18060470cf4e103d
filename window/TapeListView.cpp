#include "window/TapeListView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "window/TapeAccessible.h"

namespace tallyroll {

TapeListView::TapeListView(QWidget* parent) : QAbstractItemView(parent) {
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
}

void TapeListView::setModel(QAbstractItemModel* m) {
    QAbstractItemView::setModel(m);
    // The base class has no overridable hook after rows are removed.
    if (!m) return;
    connect(m, &QAbstractItemModel::rowsRemoved, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    connect(m, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { tape_accessibility::AboutToReset(*this); });
}

int TapeListView::rows() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int TapeListView::rowHeight() const {
    return fontMetrics().height() + 1;
}

int TapeListView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int TapeListView::fullyVisibleRows() const {
    return std::max(1, viewport()->height() / rowHeight());
}

int TapeListView::verticalOffset() const {
    return firstVisibleRow() * rowHeight();
}

QRect TapeListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex()) return {};
    return {0, (index.row() - firstVisibleRow()) * rowHeight(), viewport()->width(), rowHeight()};
}

QModelIndex TapeListView::indexAt(const QPoint& point) const {
    if (!model() || point.y() < 0) return {};
    const int row = firstVisibleRow() + point.y() / rowHeight();
    return row < rows() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void TapeListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    const int row = index.row(), first = firstVisibleRow(), page = fullyVisibleRows();
    int target = first;
    switch (hint) {
        case PositionAtTop:
            target = row;
            break;
        case PositionAtBottom:
            target = row - page + 1;
            break;
        case PositionAtCenter:
            target = row - page / 2;
            break;
        case EnsureVisible:
            if (row < first)
                target = row;
            else if (row >= first + page)
                target = row - page + 1;
            break;
    }
    verticalScrollBar()->setValue(target);
}

QModelIndex TapeListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int count = rows();
    if (count == 0) return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (action) {
        case MoveUp:
        case MovePrevious:
            row = current - 1;
            break;
        case MoveDown:
        case MoveNext:
            row = current + 1;
            break;
        case MovePageUp:
            row = current - fullyVisibleRows();
            break;
        case MovePageDown:
            row = current + fullyVisibleRows();
            break;
        case MoveHome:
            row = 0;
            break;
        case MoveEnd:
            row = count - 1;
            break;
        case MoveLeft:
        case MoveRight:
            break;
    }
    return model()->index(std::clamp(row, 0, count - 1), 0, rootIndex());
}

void TapeListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QModelIndex index = indexAt(rect.center());
    if (index.isValid()) selectionModel()->select(index, command);
}

QRegion TapeListView::visualRegionForSelection(const QItemSelection& selection) const {
    // Only the rows on screen can need a repaint.
    const int first = firstVisibleRow(), last = first + fullyVisibleRows();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first), bottom = std::min(range.bottom(), last);
        if (top > bottom) continue;
        region += QRect(0, (top - first) * rowHeight(), viewport()->width(),
                        (bottom - top + 1) * rowHeight());
    }
    return region;
}

void TapeListView::updateGeometries() {
    const int page = fullyVisibleRows();
    verticalScrollBar()->setRange(0, std::max(0, rows() - page));
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(1);
    QAbstractItemView::updateGeometries();
}

void TapeListView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TapeListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int first = firstVisibleRow();
    const int last = std::min(rows() - 1, first + viewport()->height() / rowHeight());
    const QItemSelectionModel* selection = selectionModel();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        if (!event->rect().intersects(option.rect)) continue;
        option.state = QStyle::State_Enabled;
        if (selection && selection->isSelected(index)) option.state |= QStyle::State_Selected;
        if (hasFocus() && index == currentIndex()) option.state |= QStyle::State_HasFocus;
        if (isActiveWindow()) option.state |= QStyle::State_Active;
        itemDelegate()->paint(&painter, option, index);
    }
}

void TapeListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
    if (!parent.isValid()) tape_accessibility::RowsInserted(*this, start, end);
}

void TapeListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    if (!parent.isValid()) tape_accessibility::RowsAboutToBeRemoved(*this, start, end);
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void TapeListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    // Single selection: the one line selected now, if any.
    const QModelIndexList rows = selected.indexes();
    tape_accessibility::SelectionChanged(*this, rows.isEmpty() ? -1 : rows.front().row());
}

void TapeListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid()) tape_accessibility::CurrentChanged(*this, current.row());
}

void TapeListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    tape_accessibility::RowsChanged(*this, topLeft.row(), bottomRight.row());
    if (topLeft == bottomRight) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // A recalculation changes a range as long as the tape. The base class
    // measures every row of it; only the rows on screen can need a repaint.
    const int first = firstVisibleRow();
    const int top = std::max(topLeft.row(), first);
    const int bottom = std::min(bottomRight.row(), first + viewport()->height() / rowHeight());
    if (top <= bottom)
        viewport()->update(0, (top - first) * rowHeight(), viewport()->width(),
                           (bottom - top + 1) * rowHeight());
}

void TapeListView::reset() {
    QAbstractItemView::reset();
    tape_accessibility::Reset(*this);
    updateGeometries();
    viewport()->update();
}

}  // namespace tallyroll
