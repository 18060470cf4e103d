// The change panel: correcting a line already on the tape, then recalculating
// the whole tape from its text.
#include <string>
#include <utility>
#include <vector>

#include "engine/Calculator.h"
#include "tape/Recalculate.h"
#include "tape/TapeLine.h"

namespace tallyroll {

void Calculator::lstTape_Click() {
    ParkFocus();
}

void Calculator::lstTape_DblClick() {
    if (lstTape_.empty() || lstTape_.selected() < 0) return;
    const std::string& line = lstTape_.line(lstTape_.selected());
    const auto first = FirstChar(line);
    if (!CanChangeLine(line)) return;  // totals follow from the rest
    if (first == kMinus) {
        view_.setChangeFrom("-" + std::string(FromChar(line, 2)));
        view_.setChangeType("-");
    } else {
        view_.setChangeFrom(line);
        view_.setChangeType(std::string(first));
    }
    view_.setChangeTo(std::string(FromChar(line, 3)));
    view_.setChangePanelVisible(true);
    view_.setFocus(FocusTarget::ChangeTo);
}

void Calculator::cmdSaveChange_Click() {
    const UndoScope undo(*this, "Change line");
    const int target = lstTape_.selected();
    if (target < 0) {  // the tape was cleared while the panel was open: nothing to change
        view_.setChangePanelVisible(false);
        ParkFocus();
        return;
    }
    const ReadResult typed = ReadNumber(view_.changeTo());
    if (typed.overflow) {  // refuse a number no total could hold; the panel stays open
        view_.messageBox(kAppTitle, "Overflow Error", MessageIcon::Warning);
        return;
    }
    const std::string type = view_.changeType();
    const std::string op = type == "-" ? std::string(kMinus) : type;
    lstTape_.replace(target, op + " " + Formatted(typed.value));

    RecalculateAll();
    view_.setChangePanelVisible(false);
    ParkFocus();
}

void Calculator::RecalculateAll() {
    ApplyRecalculation(RecalculateTape(lstTape_, [this](double v) { return Formatted(v); }));
}

void Calculator::ApplyRecalculation(const RecalcOutcome& out) {
    for (const RecalcFault fault : out.faults) {
        view_.messageBox(
            kAppTitle,
            fault == RecalcFault::DivideByZero ? "Divide by zero Error" : "Overflow Error",
            MessageIcon::Warning);
    }
    st_.dblGrandTotal = out.grandTotal;
    if (out.display) ShowResult(*out.display);
    if (out.entry) st_.dblEntry = *out.entry;
    if (out.grandTotalLabel) ShowGrandTotal(*out.grandTotalLabel);
    if (out.runningTotal != 0) {
        st_.dblTotal = out.runningTotal;
        if (st_.strLastInput != "NUM") {
            st_.dblEntry = out.runningTotal;
            ShowResult(Formatted(out.runningTotal));
        }
    }
}

void Calculator::ReplaceTape(std::vector<std::string> lines) {
    const UndoScope undo(*this, "Open tape");
    cmdClear_Click();
    // The lines are recalculated before they go on the tape, so that the
    // tape only gains lines: one undo step takes them off and puts the old
    // tape back.
    TapeList loaded;
    loaded.assign(std::move(lines));
    const RecalcOutcome out = RecalculateTape(loaded, [this](double v) { return Formatted(v); });
    lstTape_.assign(loaded.lines());
    if (!lstTape_.empty()) lstTape_.select(lstTape_.count() - 1);
    ApplyRecalculation(out);
    view_.setChangePanelVisible(false);
    ParkFocus();
}

void Calculator::RestoreTape(std::vector<std::string> lines, int decimals,
                             std::string grandTotalLabel) {
    const UndoScope undo(*this, "Restore tape");
    cmdClear_Click();
    if (decimals >= 0 && decimals <= 6) {
        view_.setDecimalSelection(decimals);
        cboDecPlace_Click(decimals);
    }
    // The totals, grand total and display as the lines give them; the lines
    // themselves go back as they were, whatever decimals wrote them.
    TapeList scratch;
    scratch.assign(lines);
    const RecalcOutcome out = RecalculateTape(scratch, [this](double v) { return Formatted(v); });
    lstTape_.assign(std::move(lines));
    if (!lstTape_.empty()) lstTape_.select(lstTape_.count() - 1);
    ApplyRecalculation(out);
    ShowGrandTotal(std::move(grandTotalLabel));
    view_.setChangePanelVisible(false);
    ParkFocus();
}

void Calculator::cmdCancelChange_Click() {
    view_.setChangePanelVisible(false);
    ParkFocus();
}

void Calculator::txtChangeTo_KeyPress(std::int16_t& keyAscii) {
    if (keyAscii == 13) {
        cmdSaveChange_Click();
        keyAscii = 0;
    }
}

// The type of a change is picked from the list with the mouse only.
void Calculator::cboType_KeyDown(std::int16_t& keyCode, std::int16_t /*shift*/) {
    keyCode = 0;
}
void Calculator::cboType_KeyPress(std::int16_t& keyAscii) {
    keyAscii = 0;
}

}  // namespace tallyroll
