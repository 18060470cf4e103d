// Undo and redo: the calculation outside the tape is copied into each step,
// and put back into the members, the labels and the decimals list.
#include "engine/Calculator.h"

namespace tallyroll {

Calculator::UndoScope::UndoScope(Calculator& calc, const char* name) : calc_(calc) {
    calc_.history_.Begin(name, calc_.TakeSnapshot());
}

Calculator::UndoScope::~UndoScope() {
    calc_.history_.End(calc_.TakeSnapshot());
}

UndoSnapshot Calculator::TakeSnapshot() const {
    return {st_,
            cap_.lblResult,
            cap_.lblOperator,
            cap_.lblGrandTotal,
            cap_.lblMemoryVisible,
            decimalPlaces_,
            lstTape_.selected()};
}

void Calculator::ApplySnapshot(const UndoSnapshot& s) {
    st_ = s.state;
    ShowResult(s.lblResult);
    ShowOperator(s.lblOperator);
    ShowGrandTotal(s.lblGrandTotal);
    ShowMemory(s.lblMemoryVisible);
    decimalPlaces_ = s.decimals;
    view_.setDecimalSelection(s.decimals);
}

void Calculator::Undo() {
    UndoSnapshot live = TakeSnapshot();
    if (!history_.Undo(live)) {
        view_.beep();
        return;
    }
    ApplySnapshot(live);
    ParkFocus();
}

void Calculator::Redo() {
    UndoSnapshot live = TakeSnapshot();
    if (!history_.Redo(live)) {
        view_.beep();
        return;
    }
    ApplySnapshot(live);
    ParkFocus();
}

}  // namespace tallyroll
