#include "tests/support/Invariants.h"

#include <array>
#include <cmath>
#include <initializer_list>

#include "engine/NumberText.h"
#include "tape/Recalculate.h"
#include "tape/TapeLine.h"

namespace tallyroll {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t CountDigits(std::string_view s, std::size_t from) {
    std::size_t i = from;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i - from;
}

// The digits of a number text after its first non-zero digit beyond the 15th
// must be zeros: the formats keep 15 significant digits.
bool AtMost15Significant(std::string_view text) {
    int significant = 0;
    for (char c : text) {
        if (!IsDigit(c)) continue;
        if (significant == 0 && c == '0') continue;
        if (++significant > 15 && c != '0') return false;
    }
    return true;
}

bool AllZeroDigits(std::string_view text) {
    for (char c : text)
        if (IsDigit(c) && c != '0') return false;
    return true;
}

// "-"? whole digits without a superfluous leading zero; returns the position
// after them, or npos.
std::size_t WholePart(std::string_view text) {
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t n = CountDigits(text, start);
    if (n == 0 || (n > 1 && text[start] == '0')) return std::string_view::npos;
    return start + n;
}

bool IsNumber(std::string_view text) {
    return IsFormattedNumber(text) || IsGeneralNumber(text);
}

bool Finite(double v) {
    return std::isfinite(v);
}

const std::array<std::string_view, 6> kOperatorCaptions = {"", "+", kMinus, "x", "/", "="};

bool OneOf(std::string_view s, std::initializer_list<std::string_view> set) {
    for (auto item : set)
        if (s == item) return true;
    return false;
}

std::string Quote(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

}  // namespace

bool HasForbiddenText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lower = [&](std::size_t k) {
            const char c = text[k];
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (i + 3 <= text.size()) {
            const std::string three{lower(i), lower(i + 1), lower(i + 2)};
            if (three == "inf" || three == "nan") return true;
        }
        // An exponent: a digit or point, then "e", an optional sign, a digit.
        if ((IsDigit(text[i]) || text[i] == '.') && i + 1 < text.size() && lower(i + 1) == 'e') {
            std::size_t k = i + 2;
            if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
            if (k < text.size() && IsDigit(text[k])) return true;
        }
    }
    return false;
}

bool IsFormattedNumber(std::string_view text) {
    const std::size_t point = WholePart(text);
    if (point == std::string_view::npos || point >= text.size() || text[point] != '.') return false;
    const std::size_t decimals = CountDigits(text, point + 1);
    if (point + 1 + decimals != text.size() || decimals > 6) return false;
    if (text[0] == '-' && AllZeroDigits(text)) return false;
    return AtMost15Significant(text);
}

bool IsGeneralNumber(std::string_view text) {
    const std::size_t end = WholePart(text);
    if (end == std::string_view::npos) return false;
    if (end < text.size()) {
        if (text[end] != '.') return false;
        const std::size_t decimals = CountDigits(text, end + 1);
        if (decimals == 0 || end + 1 + decimals != text.size() || text.back() == '0') return false;
    }
    if (text[0] == '-' && AllZeroDigits(text)) return false;
    return AtMost15Significant(text);
}

std::string CheckTapeLine(std::string_view line, bool userTypes) {
    const auto bad = [&](const char* why) { return std::string(why) + ": " + Quote(line); };
    if (line.empty()) return bad("empty tape line");
    const std::string_view first = FirstChar(line);

    // A line the change panel wrote with a type of the user's own: the type,
    // a blank and the formatted number.
    if (userTypes) {
        const auto blank = line.rfind(' ');
        if (blank != std::string_view::npos && IsNumber(line.substr(blank + 1))) return "";
    }

    if (first == "*") return line == kSeparator ? "" : bad("separator is not 23 asterisks");
    if (first == "G") {
        return BeginsWith(line, "G ") && IsNumber(line.substr(2))
                   ? ""
                   : bad("malformed grand total line");
    }
    if (first == "=") {
        std::string_view number = line.substr(std::min<std::size_t>(2, line.size()));
        if (number.size() >= kSubTotalSuffix.size() &&
            number.substr(number.size() - kSubTotalSuffix.size()) == kSubTotalSuffix)
            number.remove_suffix(kSubTotalSuffix.size());
        return BeginsWith(line, "= ") && IsNumber(number) ? "" : bad("malformed total line");
    }
    if (OneOf(first, {"+", "x", "/", kMinus})) {
        const std::string_view rest = line.substr(first.size());
        return BeginsWith(rest, " ") && IsNumber(rest.substr(1)) ? ""
                                                                 : bad("malformed operator line");
    }
    // Written only by the change panel: the type "1/x", or "1" after opening such a line.
    for (std::string_view prefix : {"1/x ", "1 "})
        if (BeginsWith(line, prefix) && IsNumber(line.substr(prefix.size()))) return "";
    return bad("line outside the tape grammar");
}

std::string CheckDisplay(std::string_view display) {
    if (OneOf(display, {".", "-.", "0"})) return "";
    if (display.find('.') != std::string_view::npos) {
        // Digits as typed around the one ".": leading zeros and any length are fine.
        const std::size_t start = display[0] == '-' ? 1 : 0;
        const std::size_t whole = CountDigits(display, start);
        const std::size_t point = start + whole;
        if (point < display.size() && display[point] == '.' &&
            point + 1 + CountDigits(display, point + 1) == display.size())
            return "";
    } else if (IsGeneralNumber(display)) {
        return "";
    }
    return "display is not a number text: " + Quote(display);
}

std::string CheckDisplayShowsEntry(std::string_view display, double entry) {
    const ReadResult read = ReadNumber(display);
    if (!read.overflow && read.value == entry) return "";
    for (int n = -1; n <= 6; ++n)
        if (FormatNumber(entry, n < 0 ? "" : PatternFor(n)) == display) return "";
    return "display " + Quote(display) + " does not show dblEntry " + FormatGeneral(entry);
}

std::string CheckState(const CalcState& st) {
    const std::pair<const char*, double> members[] = {
        {"dblTotal", st.dblTotal},
        {"dblOperand", st.dblOperand},
        {"dblLastOperand", st.dblLastOperand},
        {"dblMemory", st.dblMemory},
        {"dblGrandTotal", st.dblGrandTotal},
        {"dblEntry", st.dblEntry},
    };
    for (const auto& [name, value] : members)
        if (!Finite(value)) return std::string(name) + " is not finite";
    if (st.bytNumberCount > 2) return "bytNumberCount is " + std::to_string(st.bytNumberCount);
    if (!OneOf(st.strLastInput, {"", "NUM", "OPS", "NONE", "CE"}))
        return "strLastInput is " + Quote(st.strLastInput);
    if (!OneOf(st.strOperator, {"", "+", kMinus, "x", "/", "="}))
        return "strOperator is " + Quote(st.strOperator);
    if (!st.strFormat.empty() && st.strFormat != PatternFor(PatternDecimals(st.strFormat)))
        return "strFormat is " + Quote(st.strFormat);
    if (PatternDecimals(st.strFormat) > 6) return "strFormat has more than 6 decimals";
    return "";
}

std::string CheckCaptions(const Captions& cap, const CalcState& st) {
    if (auto why = CheckDisplay(cap.lblResult); !why.empty()) return why;
    if (auto why = CheckDisplayShowsEntry(cap.lblResult, st.dblEntry); !why.empty()) return why;
    bool knownOperator = false;
    for (auto op : kOperatorCaptions) knownOperator = knownOperator || cap.lblOperator == op;
    if (!knownOperator) return "lblOperator shows " + Quote(cap.lblOperator);
    std::string_view grand = cap.lblGrandTotal;
    if (!grand.empty() && grand.back() == ' ') grand.remove_suffix(1);
    if (!cap.lblGrandTotal.empty() && !IsNumber(grand))
        return "lblGrandTotal shows " + Quote(cap.lblGrandTotal);
    if (cap.lblMemoryVisible != (st.dblMemory != 0))
        return std::string("lblMemory is ") + (cap.lblMemoryVisible ? "shown" : "hidden") +
               " with dblMemory " + FormatGeneral(st.dblMemory);
    if (!OneOf(cap.cmdSaveTag, {"", "OK"})) return "cmdSave tag is " + Quote(cap.cmdSaveTag);
    return "";
}

std::string CheckTape(const TapeList& tape, bool userTypes) {
    if (tape.count() > TapeList::kMaxLines)
        return "the tape holds " + std::to_string(tape.count()) + " lines";
    if (tape.selected() < -1 || tape.selected() >= tape.count())
        return "selected line " + std::to_string(tape.selected()) + " of " +
               std::to_string(tape.count());
    for (int i = 0; i < tape.count(); ++i)
        if (auto why = CheckTapeLine(tape.line(i), userTypes); !why.empty())
            return "line " + std::to_string(i) + ": " + why;
    return "";
}

std::string CheckRecalculation(const TapeList& tape, const std::string& pattern) {
    const auto format = [&](double v) { return FormatNumber(v, pattern); };
    TapeList once;
    for (int i = 0; i < tape.count(); ++i) once.add(tape.line(i));
    const RecalcOutcome first = RecalculateTape(once, format);
    if (once.count() != tape.count()) return "recalculation changed the number of tape lines";

    for (int i = 0; i < tape.count(); ++i) {
        if (once.line(i) == tape.line(i)) continue;
        const auto kind = FirstChar(tape.line(i));
        if (kind != "=" && kind != "G") return "recalculation rewrote line " + std::to_string(i);
        if (auto why = CheckTapeLine(once.line(i)); !why.empty())
            return "recalculation wrote " + why;
    }
    for (double v : {first.grandTotal, first.runningTotal, first.entry.value_or(0)})
        if (!Finite(v)) return "recalculation produced a value that is not finite";
    if (first.display && !IsNumber(*first.display))
        return "recalculation shows " + Quote(*first.display);
    if (first.grandTotalLabel && !first.grandTotalLabel->empty() &&
        !IsNumber(*first.grandTotalLabel))
        return "recalculation labels the grand total " + Quote(*first.grandTotalLabel);

    TapeList twice;
    for (int i = 0; i < once.count(); ++i) twice.add(once.line(i));
    const RecalcOutcome second = RecalculateTape(twice, format);
    for (int i = 0; i < once.count(); ++i)
        if (twice.line(i) != once.line(i))
            return "a second recalculation changed line " + std::to_string(i) + " from " +
                   Quote(once.line(i)) + " to " + Quote(twice.line(i));
    if (second.grandTotal != first.grandTotal || second.runningTotal != first.runningTotal ||
        second.display != first.display || second.entry != first.entry ||
        second.grandTotalLabel != first.grandTotalLabel)
        return "a second recalculation gave other totals";
    return "";
}

std::string CheckMessages(const SessionLog& log) {
    for (const LoggedMessage& m : log.messages) {
        if (!OneOf(m.title, {"Calculator", "Calculator - ERROR"}))
            return "message titled " + Quote(m.title);
        if (HasForbiddenText(m.text)) return "message " + Quote(m.text);
    }
    return "";
}

std::string CheckInvariants(const Calculator& calc, const HeadlessView& view,
                            const InvariantOptions& options) {
    const CalcState& st = calc.state();
    const Captions& cap = calc.captions();
    if (auto why = CheckState(st); !why.empty()) return why;
    if (auto why = CheckCaptions(cap, st); !why.empty()) return why;
    const TapeList& tape = calc.tape();
    if (options.everyLine) {
        if (auto why = CheckTape(tape, options.userTypes); !why.empty()) return why;
    } else if (tape.count() > TapeList::kMaxLines || tape.selected() < -1 ||
               tape.selected() >= tape.count()) {
        return CheckTape(tape, options.userTypes);
    }

    // The window shows what the calculation last told it (the display keeps
    // its design caption until the first start value).
    const bool designCaption = view.result.empty() && cap.lblResult == "0.";
    if (view.result != cap.lblResult && !designCaption)
        return "lblResult shows " + Quote(view.result) + ", the calculation wrote " +
               Quote(cap.lblResult);
    if (view.operatorText != cap.lblOperator) return "lblOperator differs from the calculation";
    if (view.grandTotal != cap.lblGrandTotal) return "lblGrandTotal differs from the calculation";
    if (view.memoryVisible != cap.lblMemoryVisible) return "lblMemory differs from the calculation";
    if (!view.enabled) return "the window was left disabled";
    if (view.busy) return "the hourglass was left on";

    if (calc.tape().count() <= options.recalcLineLimit)
        if (auto why = CheckRecalculation(calc.tape(), st.strFormat); !why.empty()) return why;
    return "";
}

}  // namespace tallyroll
