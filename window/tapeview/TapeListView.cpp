#include "window/tapeview/TapeListView.h"

#include "window/tapeview/TapeModel.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "window/tapeview/TapeAccessible.h"

namespace tallyroll {

// A scroll bar that can put off its repaint while the view changes it
// several times in a row, and then repaints only if it looks different: a
// tape long enough that its slider is as short as it gets, at the bottom,
// looks the same with one line more.
class TapeListView::HeldScrollBar : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

    void hold() {
        if (held_++ == 0) shown_ = looks();
    }
    void release() {
        if (held_ == 0 || --held_ > 0) return;
        if (looks() != shown_) QScrollBar::sliderChange(SliderValueChange);
    }

  protected:
    void sliderChange(SliderChange change) override {
        if (held_ == 0) QScrollBar::sliderChange(change);
    }

  private:
    // What the painted bar shows: where its slider is, and whether it is at
    // either end (the arrows then look disabled) or can move at all.
    std::array<int, 7> looks() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, this);
        return {slider.x(),           slider.y(),           slider.width(),       slider.height(),
                value() == minimum(), value() == maximum(), minimum() < maximum()};
    }

    int held_ = 0;
    std::array<int, 7> shown_{};
};

// Qt's item delegate, which lays a row's text out two or three times for
// every paint: a key that adds a line repaints it and the line above, which
// lost the selection. This one keeps the text of the rows painted lately laid
// out, with the place the style gives it, and paints a row as Qt's does: the
// style's highlight for a selected row, then the text. A row with the focus
// frame, or with anything but plain text, is left to Qt's own painting.
class TapeListView::RowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void forget() {
        laidOut_.clear();
        place_ = QRect();
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& given,
               const QModelIndex& index) const override {
        QStyleOptionViewItem option = given;
        initStyleOption(&option, index);
        constexpr auto kPlain = QStyleOptionViewItem::HasDisplay;
        if ((option.state & QStyle::State_HasFocus) || option.features != kPlain ||
            option.backgroundBrush.style() != Qt::NoBrush || option.text.contains(u'\n')) {
            QStyledItemDelegate::paint(painter, given, index);
            return;
        }
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        // Where the style puts a line of text in a row: the same for every
        // line of one font, asked once.
        if (!place_.isValid())
            place_ = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget)
                         .translated(-option.rect.topLeft());
        const QTextLayout& line = laidOut(option, margin);
        const QRect textRect(option.rect.left() + place_.left(), option.rect.top() + place_.top(),
                             qCeil(line.lineAt(0).naturalTextWidth()) + 2 * margin,
                             place_.height());
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            QPalette::ColorGroup group =
                !widget || widget->isEnabled() ? QPalette::Normal : QPalette::Disabled;
            if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
                group = QPalette::Inactive;
            painter->fillRect(option.showDecorationSelected ? option.rect : textRect,
                              option.palette.brush(group, QPalette::Highlight));
        }
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect layoutRect = QStyle::alignedRect(option.direction, option.displayAlignment,
                                                     line.boundingRect().size().toSize(),
                                                     textRect.adjusted(margin, 0, -margin, 0));
        line.draw(painter, QPointF(textRect.left() + margin, layoutRect.top()));
    }

  private:
    const QTextLayout& laidOut(const QStyleOptionViewItem& option, int margin) const {
        if (const auto it = laidOut_.constFind(option.text); it != laidOut_.constEnd()) return **it;
        if (laidOut_.size() >= 256) laidOut_.clear();
        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(option.direction);
        textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
        auto layout = std::make_shared<QTextLayout>(option.text, option.font);
        layout->setTextOption(textOption);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        QTextLine line = layout->createLine();
        line.setLineWidth(option.rect.width() - 2 * margin);
        line.setPosition(QPointF(0, 0));
        layout->endLayout();
        return **laidOut_.insert(option.text, std::move(layout));
    }

    mutable QRect place_;
    mutable QHash<QString, std::shared_ptr<QTextLayout>> laidOut_;
};

TapeListView::TapeListView(QWidget* parent) : QAbstractItemView(parent) {
    bar_ = new HeldScrollBar(Qt::Vertical, this);
    setVerticalScrollBar(bar_);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    rowHeight_ = fontMetrics().height() + 1;
    rows_ = new RowDelegate(this);
    setItemDelegate(rows_);
}

void TapeListView::setModel(QAbstractItemModel* m) {
    QAbstractItemView::setModel(m);
    tapeModel_ = qobject_cast<const TapeModel*>(m);
    // The base class has no overridable hook after rows are removed.
    remeasureAll();
    if (!m) return;
    connect(m, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { rowsRemoved(first, last); });
    connect(m, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { tape_accessibility::AboutToReset(*this); });
}

void TapeListView::holdScrollBar() {
    bar_->hold();
}

void TapeListView::releaseScrollBar() {
    bar_->release();
}

int TapeListView::rows() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int TapeListView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int TapeListView::fullyVisibleRows() const {
    return std::max(1, viewport()->height() / rowHeight());
}

int TapeListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int TapeListView::textMargins() const {
    // The item delegate keeps this much off each side of a row's text.
    return 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
}

int TapeListView::contentWidth() const {
    return widest_ + textMargins();
}

int TapeListView::verticalOffset() const {
    return firstVisibleRow() * rowHeight();
}

QRect TapeListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex()) return {};
    return {-horizontalOffset(), (index.row() - firstVisibleRow()) * rowHeight(),
            std::max(viewport()->width(), contentWidth()), rowHeight()};
}

QRect TapeListView::rowsRect(int first, int last) const {
    const int top = std::max(first, firstVisibleRow());
    const int bottom = std::min(last, firstVisibleRow() + viewport()->height() / rowHeight());
    if (top > bottom) return {};
    return {0, (top - firstVisibleRow()) * rowHeight(), viewport()->width(),
            (bottom - top + 1) * rowHeight()};
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
    QRegion region;
    for (const QItemSelectionRange& range : selection)
        region += rowsRect(range.top(), range.bottom());
    return region;
}

void TapeListView::updateGeometries() {
    const int page = fullyVisibleRows();
    QScrollBar* bar = verticalScrollBar();
    const int max = std::max(0, rows() - page);
    if (bar->isVisible() && bar->maximum() > 0 && max > 0 && bar->value() <= max) {
        // The bar stays and its value stands: the scroll area need not lay
        // itself out again, which a line added and one trimmed would each
        // cost it on a full tape.
        const QSignalBlocker quiet(bar);
        bar->setRange(0, max);
    } else {
        bar->setRange(0, max);
    }
    // A step set, even to its old value, repaints the bar: set only changes.
    const auto steps = [](QScrollBar* b, int single, int pageStep) {
        if (b->pageStep() != pageStep) b->setPageStep(pageStep);
        if (b->singleStep() != single) b->setSingleStep(single);
    };
    steps(bar, 1, page);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - viewport()->width()));
    steps(horizontalScrollBar(), std::max(1, fontMetrics().averageCharWidth() * 2),
          viewport()->width());
    QAbstractItemView::updateGeometries();
}

void TapeListView::scrollContentsBy(int dx, int dy) {
    if (shiftingRows_) return;
    // dy counts rows, dx pixels. Move what is painted; Qt paints what the
    // move uncovered.
    const int pixelsDown = dy * rowHeight();
    if (std::abs(pixelsDown) >= viewport()->height() || std::abs(dx) >= viewport()->width())
        viewport()->update();
    else
        viewport()->scroll(dx, pixelsDown);
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
    if (!parent.isValid()) tape_accessibility::RowsInserted(*this, start, end);
    const int before = widest_;
    widths_.insert(widths_.begin() + start, static_cast<std::size_t>(end - start + 1), 0);
    countWidth(0, end - start + 1);
    remeasure(start, end);
    if (end < rows() - 1) {
        // Rows below moved down: not the tape's way, but keep it right.
        updateGeometries();
        viewport()->update();
        return;
    }
    updateGeometries();
    if (widest_ != before) viewport()->update();
    viewport()->update(rowsRect(start, end));
}

void TapeListView::rowsRemoved(int first, int last) {
    const auto from = widths_.begin() + first, to = widths_.begin() + last + 1;
    for (auto it = from; it != to; ++it) countWidth(*it, -1);
    widths_.erase(from, to);
    const int top = firstVisibleRow();
    if (last < top) {
        // Lines above the view went: the same lines stay on screen under
        // new row numbers, so nothing needs painting.
        shiftingRows_ = true;
        verticalScrollBar()->setValue(top - (last - first + 1));
        updateGeometries();
        shiftingRows_ = false;
        return;
    }
    updateGeometries();
    viewport()->update();
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
    const int before = widest_;
    remeasure(topLeft.row(), bottomRight.row());
    if (widest_ != before) updateGeometries();
    if (topLeft == bottomRight) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // A recalculation changes a range as long as the tape. The base class
    // measures every row of it; only the rows on screen can need a repaint.
    viewport()->update(rowsRect(topLeft.row(), bottomRight.row()));
}

void TapeListView::reset() {
    QAbstractItemView::reset();
    tape_accessibility::Reset(*this);
    remeasureAll();
    updateGeometries();
    viewport()->update();
}

void TapeListView::changeEvent(QEvent* event) {
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rowHeight_ = fontMetrics().height() + 1;
        rows_->forget();
        latin1_.clear();
        others_.clear();
        remeasureAll();
        updateGeometries();
    }
}

void TapeListView::focusInEvent(QFocusEvent* event) {
    QAbstractItemView::focusInEvent(event);
    tape_accessibility::FocusCame(*this);
}

void TapeListView::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
    // A horizontal scroll bar that comes takes the bottom row's room: keep
    // the current line in view if it was.
    const QModelIndex current = currentIndex();
    if (!current.isValid() || event->size().height() >= event->oldSize().height()) return;
    const int row = current.row() - firstVisibleRow();
    if (row >= 0 && (row + 1) * rowHeight() <= event->oldSize().height()) scrollTo(current);
}

// ---- Line widths ---------------------------------------------------------------

qreal TapeListView::advance(char32_t c) const {
    if (latin1_.empty()) latin1_.assign(256, -1);
    if (c < 256 && latin1_[c] >= 0) return latin1_[c];
    if (c >= 256)
        if (const auto it = others_.constFind(c); it != others_.constEnd()) return *it;
    const qreal a = QFontMetricsF(font()).horizontalAdvance(QString::fromUcs4(&c, 1));
    (c < 256 ? latin1_[c] : others_[c]) = a;
    return a;
}

int TapeListView::measure(int row) const {
    // The sum of the characters' advances in the painted font: what a line
    // takes without kerning, which only brings characters closer. Read from
    // the tape's own UTF-8 text, so a recalculation of a full tape measures
    // every line in about a millisecond.
    qreal width = 0;
    if (!tapeModel_) {
        for (const char32_t c : model()->index(row, 0, rootIndex()).data().toString().toUcs4())
            width += advance(c);
        return static_cast<int>(std::ceil(width));
    }
    const std::string& text = tapeModel_->lineText(row);
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < text.size(); ++k)
            c = (c << 6) |
                (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        width += advance(c);
    }
    return static_cast<int>(std::ceil(width));
}

void TapeListView::countWidth(int width, int delta) {
    if (width >= static_cast<int>(widthCount_.size()))
        widthCount_.resize(static_cast<std::size_t>(width) + 1, 0);
    widthCount_[static_cast<std::size_t>(width)] += delta;
    if (delta > 0) {
        widest_ = std::max(widest_, width);
        return;
    }
    while (widest_ > 0 && widthCount_[static_cast<std::size_t>(widest_)] == 0) --widest_;
}

void TapeListView::remeasure(int first, int last) {
    if (!model()) return;
    last = std::min(last, static_cast<int>(widths_.size()) - 1);
    for (int row = std::max(first, 0); row <= last; ++row) {
        const int width = measure(row);
        int& known = widths_[static_cast<std::size_t>(row)];
        if (width == known) continue;
        countWidth(width, +1);
        countWidth(known, -1);
        known = width;
    }
}

void TapeListView::remeasureAll() {
    widths_.assign(static_cast<std::size_t>(rows()), 0);
    widthCount_.assign(1, rows());
    widest_ = 0;
    remeasure(0, rows() - 1);
}

}  // namespace tallyroll
