#pragma once
// The members of a calculation and the captions it has written, apart from
// the calculator so the undo history can keep copies of them.

#include <cstdint>
#include <string>

namespace tallyroll {

// The members of a calculation, under the names the handlers use.
struct CalcState {
    double dblTotal = 0;
    double dblOperand = 0;
    double dblLastOperand = 0;
    double dblMemory = 0;
    bool bDecimalEntered = false;
    std::uint8_t bytNumberCount = 0;
    std::string strLastInput;
    std::string strOperator;
    bool bNegative = false;
    bool bTotalShown = false;
    bool bCancelPressed = false;
    double dblGrandTotal = 0;
    std::int32_t lngDepositNumber = 0;
    std::string strFormat;
    double dblEntry = 0;

    bool operator==(const CalcState&) const = default;
};

// What the calculation has put into the window's controls. Kept here so that
// no handler ever reads a number back from a widget.
struct Captions {
    std::string lblResult = "0.";
    std::string lblOperator;
    std::string lblGrandTotal;
    bool lblMemoryVisible = false;
    std::string cmdSaveTag;  // "OK" once the result was saved
    std::string lblValue;    // hidden label read back at every activation
};

}  // namespace tallyroll
