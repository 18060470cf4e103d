#pragma once
// The tape list: a single-column item view whose rows all have one height, so
// that every operation (append, trim the oldest line, select, scroll into
// view, paint) costs the same on a three-line tape as on a full one. Qt's
// QListView lays out every row again after each insertion, which on a full
// tape took longer than the key that caused it.
//
// Lines are never elided: the view keeps the width of every line in the font
// it paints, and a horizontal scroll bar appears when the widest one needs
// it. A new line at the bottom scrolls the painted rows up by their pixels,
// so a key paints only the new row and the selection change. Rows are
// painted as Qt's item delegate paints them, from texts laid out once.

#include <QAbstractItemView>
#include <QHash>
#include <deque>
#include <string>
#include <vector>

namespace tallyroll {

class TapeModel;

class TapeListView : public QAbstractItemView {
    Q_OBJECT

  public:
    explicit TapeListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

    int rowHeight() const { return rowHeight_; }
    int firstVisibleRow() const;
    // Rows that fit entirely in the viewport.
    int fullyVisibleRows() const;
    // Width of the widest line's text, in pixels of the painted font.
    int widestLine() const { return widest_; }
    // Pixels a row needs beside its text (the item's text margins).
    int textMargins() const;

    // While held, changes of the vertical scroll bar do not repaint it; the
    // release repaints it if it ends looking different. A line added to a
    // full tape and the oldest line trimmed leave the bar as it was, and so
    // does a line added to a tape whose slider is already at its shortest.
    void holdScrollBar();
    void releaseScrollBar();

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void reset() override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int rows() const;
    int contentWidth() const;
    // Rows first to last on screen, as a viewport rectangle (empty if none is).
    QRect rowsRect(int first, int last) const;
    int measure(int row) const;
    qreal advance(char32_t c) const;
    void countWidth(int width, int delta);
    void remeasure(int first, int last);
    void remeasureAll();
    void rowsRemoved(int first, int last);

    std::deque<int> widths_;       // of every line, in the order of the rows
    std::vector<int> widthCount_;  // lines of each width
    int widest_ = 0;
    const TapeModel* tapeModel_ = nullptr;
    // Advances of the characters in the painted font, measured on first use.
    mutable std::vector<qreal> latin1_;
    mutable QHash<char32_t, qreal> others_;
    bool shiftingRows_ = false;  // the rows moved, the pixels did not
    int rowHeight_ = 1;
    class RowDelegate;
    RowDelegate* rows_ = nullptr;
    class HeldScrollBar;
    HeldScrollBar* bar_ = nullptr;
};

}  // namespace tallyroll
