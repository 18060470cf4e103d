#include "window/QtView.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <utility>
#include "window/tapeview/TapeListView.h"

#include "window/ErrorReportText.h"
#include "window/QtText.h"
#include "window/access/Accessibility.h"
#include "window/access/Announcer.h"

namespace tallyroll {

QtView::QtView(QWidget& window, const ViewControls& controls, TapeModel& model,
               const CalculatorHooks& hooks)
    : window_(window),
      c_(controls),
      model_(model),
      hooks_(hooks),
      announcer_(new Announcer(*c_.picSetFocus, *c_.lblResult, *c_.lblGrandTotal, model)) {}

void QtView::attach(Calculator& calc) {
    calc_ = &calc;
    QObject::connect(c_.lstTape->selectionModel(), &QItemSelectionModel::selectionChanged,
                     c_.lstTape, [this, &calc] {
                         if (syncingSelection_) return;
                         const QModelIndexList rows = c_.lstTape->selectionModel()->selectedRows();
                         const int row = rows.isEmpty() ? -1 : rows.front().row();
                         if (row == calc.tape().selected()) return;
                         syncingSelection_ = true;
                         calc.selectTapeLine(row);
                         syncingSelection_ = false;
                     });
}

void QtView::settleLater() {
    settleWanted_ = true;
    // Outside the window's own handlers (a timer, a host's call): once the
    // event loop comes back.
    if (handling_ > 0 || settlePosted_) return;
    settlePosted_ = true;
    QMetaObject::invokeMethod(
        c_.lstTape,
        [this] {
            settlePosted_ = false;
            if (settleWanted_) Settle();
        },
        Qt::QueuedConnection);
}

void QtView::Quietly(void (TapeModel::*notice)()) {
    const bool was = std::exchange(syncingSelection_, true);
    (model_.*notice)();
    syncingSelection_ = was;
}

void QtView::Settle() {
    settleWanted_ = false;
    justAppended_ = false;
    Quietly(&TapeModel::release);
    if (std::exchange(selectionPending_, false) && calc_) ShowSelection(calc_->tape().selected());
    if (holdingBar_) {
        holdingBar_ = false;
        c_.lstTape->releaseScrollBar();
    }
    if (settledListener_) settledListener_();
}

void QtView::tapeAboutToAppend(int row) {
    // The lines a key adds, their selection and the trim of the oldest line
    // on a full tape move the scroll bar a step or two: it repaints once the
    // key has been handled, and only if it looks different then.
    if (!holdingBar_) {
        holdingBar_ = true;
        c_.lstTape->holdScrollBar();
        settleLater();
    }
    // Within a key, the list is told of its lines at its end, at once.
    if (handling_ > 0) model_.hold();
    const bool was = std::exchange(syncingSelection_, true);
    model_.aboutToAppend(row);
    syncingSelection_ = was;
}

void QtView::tapeAppended() {
    Quietly(&TapeModel::appended);
    justAppended_ = true;
    // Read from the tape: while a key is handled the list may not know the line yet.
    if (calc_) announcer_->LineAppended(calc_->tape().last());
}

void QtView::tapeCleared() {
    Quietly(&TapeModel::cleared);
    announcer_->TapeEmptied();
}

void QtView::tell(std::string text) {
    announcer_->Note(std::move(text));
}

void QtView::tapeSelectionChanged(int row) {
    announcer_->SelectionChanged(row);
    if (syncingSelection_) return;
    // "=" adds two lines, each selected as it goes on: the list selects and
    // scrolls to the last one only, once the key has been handled. Any
    // other selection it shows at once.
    if (std::exchange(justAppended_, false)) {
        selectionPending_ = true;
        return;
    }
    selectionPending_ = false;
    ShowSelection(row);
}

void QtView::ShowSelection(int row) {
    Quietly(&TapeModel::release);
    syncingSelection_ = true;
    QItemSelectionModel* sel = c_.lstTape->selectionModel();
    if (row < 0) {
        sel->clear();
    } else {
        // Making the line current also scrolls it into view.
        sel->setCurrentIndex(model_.index(row), QItemSelectionModel::ClearAndSelect);
    }
    syncingSelection_ = false;
}

void QtView::setCaption(Label label, const std::string& text) {
    QLabel* target = label == Label::Result     ? c_.lblResult
                     : label == Label::Operator ? c_.lblOperator
                                                : c_.lblGrandTotal;
    const QString caption = Q(text);
    if (caption == target->text()) return;
    target->setText(caption);
    ValueChanged(*target);
    if (label == Label::Result) announcer_->DisplayChanged();
    if (label == Label::GrandTotal) {
        announcer_->GrandTotalChanged();
        if (grandTotalListener_) grandTotalListener_();
    }
}

void QtView::setMemoryVisible(bool visible) {
    if (visible != c_.lblMemory->isHidden()) return;
    c_.lblMemory->setVisible(visible);
    ValueChanged(*c_.lblMemory);
    announcer_->MemoryChanged(visible);
}

void QtView::setDecimalSelection(int index) {
    c_.cboDecPlace->setCurrentIndex(index);
}

void QtView::setChangePanelVisible(bool visible) {
    c_.fraChangeTape->setVisible(visible);
    if (visible) c_.fraChangeTape->raise();
}

void QtView::setChangeFrom(const std::string& text) {
    c_.lblChangeFrom->setText(Q(text));
    ValueChanged(*c_.lblChangeFrom);
}

void QtView::setChangeTo(const std::string& text) {
    c_.txtChangeTo->setText(Q(text));
    c_.txtChangeTo->selectAll();
}

void QtView::setChangeType(const std::string& text) {
    c_.cboType->setEditText(Q(text));
}

std::string QtView::changeTo() const {
    return c_.txtChangeTo->text().toStdString();
}

std::string QtView::changeType() const {
    return c_.cboType->currentText().toStdString();
}

void QtView::setFocus(FocusTarget target) {
    QWidget* w = target == FocusTarget::ChangeTo ? c_.txtChangeTo : c_.picSetFocus;
    w->setFocus(Qt::OtherFocusReason);
}

void QtView::messageBox(const std::string& title, const std::string& text, MessageIcon icon) {
    // The box waits for the user: the tape shows, and keeps, what the key
    // has done so far.
    if (settleWanted_) Settle();
    hooks_.dialogs->message(&window_, title, text, icon);
}

void QtView::reportError(const ErrorReport& report) {
    ShowErrorReport(*this, report);
}

std::optional<std::string> QtView::inputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    return hooks_.dialogs->input(&window_, prompt, title, defaultText);
}

void QtView::hideWindow() {
    window_.hide();
}

void QtView::endProgram() {
    if (hooks_.endProgram) {
        hooks_.endProgram();
        return;
    }
    std::quick_exit(0);
}

void QtView::setWindowEnabled(bool enabled) {
    window_.setEnabled(enabled);
}

void QtView::setBusyPointer(bool busy) {
    if (busy == busy_) return;  // keep the override cursor stack balanced
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtView::processEvents() {
    QCoreApplication::processEvents();
}

void QtView::beep() {
    if (hooks_.beep)
        hooks_.beep();
    else
        QApplication::beep();
}

LocalDateTime QtView::now() const {
    if (hooks_.now) return hooks_.now();
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute()};
}

std::unique_ptr<Printer> QtView::defaultPrinter() {
    return hooks_.defaultPrinter ? hooks_.defaultPrinter() : nullptr;
}

}  // namespace tallyroll
