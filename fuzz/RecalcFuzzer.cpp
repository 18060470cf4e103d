// Recalculation of an arbitrary tape text (any lines, any bytes), before and
// after an arbitrary change of one line, against the plain reference pass.
//
// Input: a pattern byte (0 to 6 decimals, 7 the general form), two bytes
// choosing the changed line, a type byte (an entry of the type list, or 5 for
// a type of the user's own), then the tape lines separated by "\n"; the last
// line is the new number as typed, and with type 5 the one before is the type.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/NumberText.h"
#include "tape/Recalculate.h"
#include "tape/TapeLine.h"
#include "tests/support/Invariants.h"
#include "tests/support/Reference.h"

namespace tallyroll {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "recalculation: %s\n", what.c_str());
    std::abort();
}

std::vector<std::string> Lines(const TapeList& tape) {
    std::vector<std::string> lines;
    for (int i = 0; i < tape.count(); ++i) lines.push_back(tape.line(i));
    return lines;
}

// One pass over the tape, compared line by line and value by value with the
// reference; then the invariants of recalculating it again.
void CheckPass(TapeList& tape, const std::string& pattern) {
    const reference::Recalculation want = reference::Recalculate(Lines(tape), pattern);
    const RecalcOutcome got =
        RecalculateTape(tape, [&](double v) { return FormatNumber(v, pattern); });
    const std::vector<std::string> lines = Lines(tape);
    if (lines.size() != want.lines.size()) Fail("the number of lines changed");
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] != want.lines[i])
            Fail("line " + std::to_string(i) + " is \"" + lines[i] + "\", expected \"" +
                 want.lines[i] + "\"");
    if (got.grandTotal != want.grandTotal || got.runningTotal != want.runningTotal ||
        got.display != want.display || got.entry != want.entry ||
        got.grandTotalLabel != want.grandTotalLabel ||
        got.faults.size() != static_cast<std::size_t>(want.faults))
        Fail("the totals differ from the reference pass");
    if (auto why = CheckRecalculation(tape, pattern); !why.empty()) Fail(why);
}

}  // namespace
}  // namespace tallyroll

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyroll;
    if (size < 4) return 0;
    const int decimals = data[0] % 8;
    const std::string pattern = decimals == 7 ? "" : PatternFor(decimals);
    const unsigned chosenLine = static_cast<unsigned>(data[1]) << 8 | data[2];
    const int typeChoice = data[3] % 6;

    std::vector<std::string> lines{""};
    for (std::size_t i = 4; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    const std::string typed = lines.back();
    lines.pop_back();
    static const char* entries[] = {"+", "-", "/", "x", "1/x"};
    std::string type = typeChoice < 5 ? entries[typeChoice] : "";
    if (typeChoice == 5 && !lines.empty()) {
        type = lines.back();
        lines.pop_back();
    }

    TapeList tape;
    for (std::string& line : lines) tape.add(std::move(line));
    CheckPass(tape, pattern);
    if (tape.empty()) return 0;

    // The change panel's save: the line takes the type and the typed number
    // (a number beyond the double range is refused), then the whole tape is
    // recalculated.
    const ReadResult number = ReadNumber(typed);
    if (number.overflow) return 0;
    const int target = static_cast<int>(chosenLine % static_cast<unsigned>(tape.count()));
    const std::string op = type == "-" ? std::string(kMinus) : type;
    tape.replace(target, op + " " + FormatNumber(number.value, pattern));
    if (typeChoice < 5 && !CheckTapeLine(tape.line(target)).empty())
        Fail("the changed line is outside the grammar: " + tape.line(target));
    CheckPass(tape, pattern);
    return 0;
}
