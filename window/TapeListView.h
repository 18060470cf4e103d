#pragma once
// The tape list: a single-column item view whose rows all have one height, so
// that every operation (append, trim the oldest line, select, scroll into
// view, paint) costs the same on a three-line tape as on a full one. Qt's
// QListView lays out every row again after each insertion, which on a full
// tape took longer than the key that caused it.

#include <QAbstractItemView>

namespace tallyroll {

class TapeListView : public QAbstractItemView {
    Q_OBJECT

  public:
    explicit TapeListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

    int rowHeight() const;
    int firstVisibleRow() const;
    // Rows that fit entirely in the viewport.
    int fullyVisibleRows() const;

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
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

  private:
    int rows() const;
};

}  // namespace tallyroll
