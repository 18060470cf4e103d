#pragma once
// Second, deliberately plain implementations of the number text rules and of
// the tape recalculation, written from the rules rather than from the engine's
// code, so that the fuzz targets and property tests can compare the two.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/NumberText.h"

namespace tallyroll::reference {

// v rounded to its 15 significant digits (the C library's conversion), then
// to `decimals` places, halves away from zero, in integer arithmetic.
std::string Format(double v, int decimals);

// The leading-number rule after removing every blank, tab and line feed,
// converted by the C library's strtod.
ReadResult Read(std::string_view text);

// Blanks, an optional "-", digits, optionally "." and digits, blanks; nothing
// for other text or a value the double range cannot hold.
std::optional<double> Strict(std::string_view text);

struct Recalculation {
    std::vector<std::string> lines;
    double grandTotal = 0, runningTotal = 0;
    std::optional<std::string> display;
    std::optional<double> entry;
    std::optional<std::string> grandTotalLabel;
    int faults = 0;
};

// The recalculation pass, line by line as the rules state it, with the
// decisions on division by zero, overflow, unreadable numbers and a grand
// total line straight after a total line.
Recalculation Recalculate(std::vector<std::string> lines, const std::string& pattern);

}  // namespace tallyroll::reference
