#pragma once
// Recalculation of the whole tape from its text: every total, sub total and
// grand total line is rewritten from the operator lines above it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tape/TapeList.h"

namespace tallyroll {

// The strict conversion of a tape line's number: exactly what the display
// format writes (optional "-", digits, optionally "." and digits) with
// surrounding blanks. Anything else, or a number beyond the double range,
// gives nothing.
std::optional<double> StrictNumber(std::string_view text);

enum class RecalcFault { DivideByZero, Overflow };

struct RecalcOutcome {
    double grandTotal = 0;    // accumulated since the last grand total line
    double runningTotal = 0;  // of the calculation open at the end of the tape
    // Last values written to the display, the entry and the grand total label
    // during the pass; empty when the pass wrote none.
    std::optional<std::string> display;
    std::optional<double> entry;
    std::optional<std::string> grandTotalLabel;
    std::vector<RecalcFault> faults;  // in the order met
};

// One pass over every line, first to last. A "/" by zero or a step that would
// leave the double range leaves the running total unchanged and records a
// fault; an operator line whose number cannot be read is passed over. The
// number of lines never changes.
RecalcOutcome RecalculateTape(TapeList& tape, const std::function<std::string(double)>& format);

}  // namespace tallyroll
