// The operator keys, the adding-machine way: each key applies the operator
// pending from the previous key, writes the number with that operator on the
// tape and becomes the pending operator itself; "=" writes the total line.
#include <cmath>
#include <string>

#include "engine/CalcError.h"
#include "engine/Calculator.h"
#include "tape/TapeLine.h"

namespace tallyroll {

namespace {
// Operator texts of the buttons by index; index 4 is "=".
const std::string kOperatorText[] = {"/", "+", "x", std::string(kMinus), "="};
constexpr std::int16_t kEquals = 4;
constexpr std::int16_t kSubtract = 3;
}  // namespace

void Calculator::cmdOperator_Click(std::int16_t index) {
    ParkFocus();
    st_.dblOperand = st_.dblEntry;
    const double previousTotal = st_.dblTotal;

    // An operator straight after a closed calculation waits for a number.
    if (index != kEquals && st_.strLastInput != "NUM" && BeginsWith(lstTape_.last(), "*")) return;

    bool skipToIndicator = false;
    if (st_.dblOperand == 0) {
        if (index == kSubtract && cap_.lblResult == ".") {
            ShowResult("-.");  // the next number typed will be negative
            skipToIndicator = true;
        } else {
            return;
        }
    }

    if (!skipToIndicator) {
        // The first number of a calculation that follows a shown total becomes
        // the total at once and goes on the tape as "+ N" through the shown
        // total below. Anywhere else a running total of 0 is an ordinary
        // value: the number is written and the pending operator applies to it.
        // Operands beyond the 32-bit range count as non-zero.
        if (st_.bytNumberCount == 0 && st_.bTotalShown && !lstTape_.empty() && st_.dblTotal == 0 &&
            std::fabs(st_.dblOperand) > 0.5) {
            st_.dblTotal = st_.dblOperand;
            st_.dblOperand = 0;
        }

        if (st_.bTotalShown) {
            if (index == kEquals) {
                StartNewTotal(true);
                return;
            }
            WriteSubTotal(1, st_.dblTotal);
            st_.bTotalShown = false;
        }

        if (st_.strLastInput == "NUM") {
            if (st_.bytNumberCount < 255) ++st_.bytNumberCount;
            st_.dblLastOperand = st_.dblEntry;
        } else if (st_.dblLastOperand > 0 && st_.strLastInput == "OPS" && st_.strOperator != "=") {
            // The same operator again repeats the last (positive) number.
            st_.bytNumberCount = 2;
            st_.dblTotal = previousTotal;
            st_.dblOperand = st_.dblLastOperand;
            if (index == kEquals) st_.dblOperand = 0;
        }

        if (st_.bytNumberCount == 1) {
            st_.dblTotal = st_.dblEntry;
            if (index == kEquals) {
                st_.strOperator = "=";
                st_.bTotalShown = true;
            }
        }
        if (st_.bytNumberCount == 2) {
            const std::string& op = st_.strOperator;
            double result = st_.dblTotal;
            bool divideByZero = false;
            if (op == "+") {
                result = st_.dblTotal + st_.dblOperand;
            } else if (op == kMinus) {
                result = st_.dblTotal - st_.dblOperand;
            } else if (op == "x") {
                result = st_.dblTotal * st_.dblOperand;
            } else if (op == "/") {
                divideByZero = st_.dblOperand == 0;
                if (!divideByZero) result = st_.dblTotal / st_.dblOperand;
            } else if (op == "=") {
                result = st_.dblOperand;
                st_.bTotalShown = true;
            }
            if (divideByZero) {
                view_.messageBox(kAppTitle, "Divide by zero Error", MessageIcon::Warning);
            } else if (!std::isfinite(result)) {
                view_.messageBox(kAppTitle, "Overflow Error", MessageIcon::Warning);
            } else {
                st_.dblTotal = result;
            }
            ShowResult(Formatted(st_.dblTotal));
            st_.dblEntry = st_.dblTotal;
            st_.bytNumberCount = 1;
        }

        st_.strLastInput = "OPS";
        if (st_.strOperator != "=" && st_.dblOperand != 0) {
            if (st_.bNegative) {
                AddDirect(lstTape_, std::string(kSeparator));
                AddDirect(lstTape_, "+ " + Formatted(previousTotal));
                st_.bNegative = false;
            }
            // An empty pending operator would take the button's tag, which is
            // empty on every operator button.
            AddToTape(st_.strOperator + " " + Formatted(st_.dblOperand));
        }

        if (index >= 0 && index < kEquals) st_.strOperator = kOperatorText[index];

        if (index == kEquals) {
            if (lstTape_.last() != "= " + cap_.lblResult && st_.dblTotal != 0)
                AddToTape("= " + Formatted(st_.dblTotal));
            st_.strOperator = "=";
            st_.strLastInput = "NONE";
            st_.bTotalShown = true;
        }
    }

    st_.bCancelPressed = false;
    ShowOperator(st_.strOperator);
}

void Calculator::StartNewTotal(bool add) {
    try {
        if (add) {
            const double sum = st_.dblEntry + st_.dblGrandTotal;
            if (!std::isfinite(sum)) throw kOverflow;
            st_.dblGrandTotal = sum;
            ShowGrandTotal(st_.dblGrandTotal == 0 ? "" : Formatted(st_.dblGrandTotal) + " ");
        }
        ShowResult(".");
        st_.dblEntry = 0;
        if (!lstTape_.empty() && lstTape_.last() != kSeparator) AddToTape(std::string(kSeparator));
        st_.dblTotal = st_.dblOperand = st_.dblLastOperand = 0;
        st_.bDecimalEntered = false;
        st_.bytNumberCount = 0;
        st_.strLastInput = "NUM";
        st_.strOperator = "+";
        ShowOperator("+");
    } catch (const CalcError& e) {
        ReportError(true, std::to_string(e.number), e.description, kModuleName, "StartNewTotal");
    }
    ParkFocus();
}

void Calculator::WriteSubTotal(const std::int16_t& index, double value) {
    if (value == 0) return;
    const std::string prefix = index >= 0 && index < kEquals ? kOperatorText[index] + " " : "";
    if (BeginsWith(lstTape_.last(), "=")) {
        // A total is marked once: a pending "=" can show a total again while
        // the last line is already its sub total line.
        if (ClassifyLine(lstTape_.last()) == LineKind::Total)
            lstTape_.replace(lstTape_.count() - 1, lstTape_.last() + std::string(kSubTotalSuffix));
    } else {
        AddToTape(prefix + Formatted(value));
    }
}

}  // namespace tallyroll
