#include "window/tapeview/TapeModel.h"

namespace tallyroll {

void TapeModel::setTape(const TapeList* tape) {
    beginResetModel();
    tape_ = tape;
    held_ = false;
    trimmed_ = 0;
    shown_ = tape_ ? tape_->count() : 0;
    endResetModel();
}

int TapeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !tape_ ? 0 : shown_;
}

void TapeModel::aboutToAppend(int row) {
    if (!held_) beginInsertRows({}, row, row);
}

void TapeModel::appended() {
    if (held_) return;
    shown_ = tape_->count();
    endInsertRows();
}

void TapeModel::aboutToRemoveFirst() {
    if (held_) {
        // A line the view knows, unless the hold added it.
        if (trimmed_ < shown_) ++trimmed_;
        return;
    }
    beginRemoveRows({}, 0, 0);
}

void TapeModel::removedFirst() {
    if (held_) return;
    shown_ = tape_->count();
    endRemoveRows();
}

void TapeModel::aboutToClear() {
    release();
    beginResetModel();
}

void TapeModel::cleared() {
    shown_ = tape_->count();
    endResetModel();
}

void TapeModel::linesChanged(int first, int last) {
    release();
    emit dataChanged(index(first), index(last), {Qt::DisplayRole});
}

void TapeModel::release() {
    if (!held_) return;
    held_ = false;
    if (trimmed_ > 0) {
        beginRemoveRows({}, 0, trimmed_ - 1);
        shown_ -= trimmed_;
        trimmed_ = 0;
        endRemoveRows();
    }
    if (tape_->count() > shown_) {
        beginInsertRows({}, shown_, tape_->count() - 1);
        shown_ = tape_->count();
        endInsertRows();
    }
}

QVariant TapeModel::data(const QModelIndex& index, int role) const {
    // The tool tip shows a line whole wherever the view has scrolled it to.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !tape_ || !index.isValid())
        return {};
    return QString::fromStdString(lineText(index.row()));
}

}  // namespace tallyroll
