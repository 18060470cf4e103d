#pragma once
// Number text of the calculator: the display format, the general form, the
// leading-number reading rule and the currency type of the host interface.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyroll {

// Currency crosses the host interface as a signed 64-bit count of 1/10,000 units.
using Currency = std::int64_t;
inline constexpr double kCurrencyScale = 10000.0;

// Decimal places named by a pattern "#0." followed by 0 to 6 zeros; -1 for the
// empty pattern (the general form).
int PatternDecimals(std::string_view pattern);

// The pattern for n decimal places: "#0." for 0, "#0.00" for 2.
std::string PatternFor(int decimals);

// Formats v with a pattern "#0." + n zeros: rounded half away from zero on its
// 15-significant-digit decimal form, at least one whole digit, always a ".",
// exactly n decimals, no grouping, no exponent, and no "-" on a value that
// rounds to zero. The empty pattern gives the general form.
std::string FormatNumber(double v, std::string_view pattern);

// The plain general form: up to 15 significant digits, shortest text, no
// trailing ".", never an exponent ("12.5", "7", "-0.25").
std::string FormatGeneral(double v);

struct ReadResult {
    double value = 0;       // 0 when the text does not begin with a number, or on overflow
    bool overflow = false;  // the number is beyond the double range
};

// The leading-number rule: blanks, tabs and line feeds are skipped wherever
// they stand; then an optional sign, digits with at most one ".", and an
// optional exponent ("E" or "D", optional sign, digits). Reading stops at the
// first character that does not fit; text without digits reads as 0.
ReadResult ReadNumber(std::string_view text);

// Converts to currency with halves to even; nothing when out of range.
std::optional<Currency> CurrencyFromDouble(double v);
double CurrencyToDouble(Currency c);

}  // namespace tallyroll
