#pragma once
// What a paste may enter: a plain decimal number from the clipboard.

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

}  // namespace tallyroll
