#pragma once
// The tape as a Qt list model. It holds no copy: every row is read from the
// calculation's own TapeList, and the window passes the tape's change notices
// on so the list view follows with O(1) work per appended or trimmed line.

#include <QAbstractListModel>

#include "tape/TapeList.h"

namespace tallyroll {

class TapeModel : public QAbstractListModel {
    Q_OBJECT

  public:
    explicit TapeModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setTape(const TapeList* tape);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The text of a row as the tape holds it (UTF-8).
    const std::string& lineText(int row) const { return tape_->line(row); }

    // The tape's notices, in the order TapeList sends them.
    void aboutToAppend(int row) { beginInsertRows({}, row, row); }
    void appended() { endInsertRows(); }
    void aboutToRemoveFirst() { beginRemoveRows({}, 0, 0); }
    void removedFirst() { endRemoveRows(); }
    void aboutToClear() { beginResetModel(); }
    void cleared() { endResetModel(); }
    void linesChanged(int first, int last) {
        emit dataChanged(index(first), index(last), {Qt::DisplayRole});
    }

  private:
    const TapeList* tape_ = nullptr;
};

}  // namespace tallyroll
