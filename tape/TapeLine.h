#pragma once
// The grammar of tape lines: every kind is told by its first character.

#include <string>
#include <string_view>

namespace tallyroll {

// The subtraction operator on the tape and in the operator label: the en dash
// U+2013 (code 150 in Windows-1252), held as UTF-8. The ASCII "-" is only ever
// the sign of a number.
inline constexpr std::string_view kMinus = "\xE2\x80\x93";
inline constexpr std::string_view kSeparator = "***********************";  // 23 asterisks
inline constexpr std::string_view kSubTotalSuffix = " sub total";

enum class LineKind { Operator, Total, SubTotal, GrandTotal, Separator, Other };

// First character of a line as UTF-8 (one code point; one byte for a stray byte).
std::string_view FirstChar(std::string_view line);

// The line from its n-th character on, counting from 1 (n = 3 skips the
// operator and its blank).
std::string_view FromChar(std::string_view line, int n);

LineKind ClassifyLine(std::string_view line);

// Whether the change panel may change the line: not a total, sub total,
// grand total or separator line (their numbers follow from the other lines).
bool CanChangeLine(std::string_view line);

inline bool BeginsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

}  // namespace tallyroll
