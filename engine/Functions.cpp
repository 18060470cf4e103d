// The function keys (square root, percent, reciprocal) and the memory keys.
// Neither writes to the tape; a changed entry reaches it at the next operator.
#include <cmath>
#include <string>

#include "engine/CalcError.h"
#include "engine/Calculator.h"

namespace tallyroll {

void Calculator::cmdFunction_Click(std::int16_t index) {
    try {
        double entry = st_.dblEntry;
        switch (index) {
            case 0:
                if (entry < 0) throw kInvalidArgument;
                entry = std::sqrt(entry);
                break;
            case 1:
                entry = entry / 100 * st_.dblTotal;
                break;
            case 2:
                if (entry == 0) throw kDivisionByZero;
                entry = 1 / entry;
                break;
            default:
                break;
        }
        // A failed key keeps the previous entry, so display and entry agree.
        if (!std::isfinite(entry)) throw kOverflow;
        st_.dblEntry = entry + 0.0;
        ShowResult(Formatted(st_.dblEntry));
        st_.strLastInput = "NUM";
        ShowOperator(st_.strOperator);
        st_.bytNumberCount = 1;
        st_.bDecimalEntered = true;
    } catch (const CalcError& e) {
        ReportError(true, std::to_string(e.number), e.description, kModuleName,
                    "cmdFunction_Click" + std::to_string(index));
    }
    ParkFocus();
}

void Calculator::cmdMemory_Click(std::int16_t index) {
    auto store = [&](double value) {
        if (std::isfinite(value)) {
            st_.dblMemory = value;
        } else {  // beyond the double range: the memory keeps its value
            ReportError(true, std::to_string(kOverflow.number), kOverflow.description, kModuleName,
                        "cmdMemory_Click" + std::to_string(index));
        }
    };
    switch (index) {
        case 0:
            store(st_.dblEntry + st_.dblMemory);
            break;
        case 1:
            store(st_.dblMemory - st_.dblEntry);
            break;
        case 2:
            st_.dblEntry = st_.dblMemory;
            ShowResult(Formatted(st_.dblEntry));
            break;
        default:
            st_.dblMemory = 0;
            break;
    }
    ShowMemory(st_.dblMemory != 0);
    st_.strLastInput = "NUM";
    ParkFocus();
}

}  // namespace tallyroll
