// Grand total, the two-stage cancel and clear.
#include <string>

#include "engine/Calculator.h"
#include "tape/TapeLine.h"

namespace tallyroll {

// The grand total line goes on directly, leaving the selection where it is;
// the separator after it goes through AddToTape and is selected.
void Calculator::WriteGrandTotalBlock() {
    AddDirect(lstTape_, "G " + Formatted(st_.dblGrandTotal));
    AddToTape(std::string(kSeparator));
}

void Calculator::cmdGrandTotal_Click() {
    if (st_.dblGrandTotal == 0 && BeginsWith(lstTape_.last(), "=")) {
        st_.dblGrandTotal = st_.dblEntry;
        st_.dblOperand = 0;
        st_.dblTotal = 0;
        ShowResult(".");
        st_.dblEntry = 0;
    }
    // Right after another grand total the tape ends "G ...", separator: no equals.
    if (!BeginsWith(lstTape_.line(lstTape_.count() - 2), "G")) cmdOperator_Click(4);
    if (st_.dblGrandTotal != 0) {
        st_.strOperator = "=";
        st_.dblOperand = st_.dblGrandTotal;
        st_.dblEntry = st_.dblGrandTotal;
        ShowResult(Formatted(st_.dblGrandTotal));
        WriteGrandTotalBlock();
        st_.dblGrandTotal = 0;
        ShowGrandTotal("");
    }
}

void Calculator::cmdCancel_Click() {
    StartNewTotal(false);
    if (st_.bCancelPressed && st_.dblGrandTotal != 0) {
        WriteGrandTotalBlock();
        st_.dblGrandTotal = 0;
        ShowGrandTotal("");
    }
    st_.bCancelPressed = true;
    ShowOperator("");
}

void Calculator::cmdClear_Click() {
    const UndoScope undo(*this, "Clear tape");
    st_.dblEntry = 0;
    st_.dblGrandTotal = 0;
    ShowOperator("");
    ShowResult(".");
    lstTape_.clear();
    ParkFocus();
    ShowGrandTotal("");
}

}  // namespace tallyroll
