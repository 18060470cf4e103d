// Number entry: the digit keys, the decimal point, backspace, the sign key and
// clear entry. They edit the display text and read the entry back from it.
#include <string>

#include "engine/CalcError.h"
#include "engine/Calculator.h"

namespace tallyroll {

void Calculator::cmdNumber_Click(std::int16_t index) {
    if (st_.strOperator == "=") StartNewTotal(st_.dblTotal != 0);
    if (st_.strLastInput != "NUM") {
        ShowResult(".");
        st_.bDecimalEntered = false;
    }

    // The digit joins the decimals or goes just before the ".". A display
    // without a "." cannot take it, and neither can a number beyond the
    // double range: then this step is skipped and the rest still runs.
    if (index >= 0 && index <= 9) {
        const char digit = static_cast<char>('0' + index);
        std::string next;
        const std::string& shown = cap_.lblResult;
        if (st_.bDecimalEntered) {
            // Decimals need the point: a display without one (the "0" of clear
            // entry kept by a memory key, a whole number in the general form)
            // gets it first, so ".", 5 reads 0.5 and not 5.
            next = shown + (shown.find('.') == std::string::npos ? "." : "") + digit;
        } else if (const auto dot = shown.find('.'); dot != std::string::npos) {
            next = shown.substr(0, dot) + digit + ".";
        }
        if (!next.empty() && !ReadNumber(next).overflow) ShowResult(std::move(next));
    }

    if (const ReadResult r = ReadNumber(cap_.lblResult); !r.overflow) st_.dblEntry = r.value;
    st_.strLastInput = "NUM";
    st_.bCancelPressed = false;
    ParkFocus();
}

void Calculator::cmdDecimal_Click() {
    try {
        if (st_.strLastInput != "NUM") ShowResult(".");
        st_.bDecimalEntered = true;
        st_.strLastInput = "NUM";
    } catch (const std::exception& e) {
        ReportError(true, "0", e.what(), kModuleName, "cmdDecimal_click");
    }
    if (const ReadResult r = ReadNumber(cap_.lblResult); !r.overflow) st_.dblEntry = r.value;
    ParkFocus();
}

void Calculator::cmdBackspace_Click() {
    std::string shown = cap_.lblResult;
    const auto length = shown.size();
    if (length == 2) {
        shown = ".";
        st_.bDecimalEntered = false;
    } else if (length > 2) {
        if (shown.back() != '.') {
            shown.pop_back();
        } else {
            shown.erase(length - 2, 1);
            st_.bDecimalEntered = false;
        }
    }
    if (shown != cap_.lblResult) ShowResult(std::move(shown));
    if (const ReadResult r = ReadNumber(cap_.lblResult); !r.overflow) st_.dblEntry = r.value;
    ParkFocus();
}

void Calculator::cmdNegitive_Click() {
    st_.dblEntry = -st_.dblEntry + 0.0;  // + 0.0 keeps a negated zero a plain zero
    st_.bNegative = !st_.bNegative;
    ShowResult(Formatted(st_.dblEntry));
    ParkFocus();
}

void Calculator::cmdCancelEntry_Click() {
    ShowResult("0");
    st_.dblEntry = 0;
    st_.bDecimalEntered = false;
    st_.strLastInput = "CE";
    ParkFocus();
}

}  // namespace tallyroll
