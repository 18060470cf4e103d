#pragma once
// What a paste may enter: a plain decimal number from the clipboard; and what
// a copy of the display gives.

#include <optional>
#include <string>
#include <string_view>

namespace tallyroll {

struct PastedNumber {
    std::string keys;  // the digits and the "." to type, in order
    bool negative = false;
};

// The clipboard text with blanks (spaces, tabs, line ends) trimmed around it
// must be an optional "-" or "+", digits and at most one "." with at least one
// digit, and its value must lie within the double range. Anything else gives
// nothing.
std::optional<PastedNumber> ReadPastedNumber(std::string_view text);

// The display as a number a spreadsheet reads: without a trailing "." ("2."
// gives "2"), and "0" for the empty display ("." or "-."); any other display
// as shown.
std::string CopiedNumber(std::string_view display);

}  // namespace tallyroll
