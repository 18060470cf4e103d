#include "window/TapeModel.h"

namespace tallyroll {

void TapeModel::setTape(const TapeList* tape) {
    beginResetModel();
    tape_ = tape;
    endResetModel();
}

int TapeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !tape_ ? 0 : tape_->count();
}

QVariant TapeModel::data(const QModelIndex& index, int role) const {
    // The tool tip shows a line whole wherever the view has scrolled it to.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !tape_ || !index.isValid())
        return {};
    return QString::fromStdString(tape_->line(index.row()));
}

}  // namespace tallyroll
