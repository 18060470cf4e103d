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
    const std::string& lineText(int row) const { return tape_->line(row - trimmed_); }

    // The tape's notices, in the order TapeList sends them.
    void aboutToAppend(int row);
    void appended();
    void aboutToRemoveFirst();
    void removedFirst();
    void aboutToClear();
    void cleared();
    void linesChanged(int first, int last);

    // While held, the lines added at the end and the oldest lines taken off
    // are not told one by one: release() tells the view once, as one removal
    // and one insertion ("=" adds two lines). Meanwhile the rows stay those
    // the view knows. Any other change releases first.
    void hold() { held_ = true; }
    void release();

  private:
    const TapeList* tape_ = nullptr;
    bool held_ = false;
    int shown_ = 0;    // rows the view knows
    int trimmed_ = 0;  // of them, the ones the tape has taken off since the hold
};

}  // namespace tallyroll
