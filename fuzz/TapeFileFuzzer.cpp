// Reading a tape file of any bytes: either it is refused, naming a line the
// file has and leaving the tape as it was, or every line it gives is a tape
// line, there are at most 32,766 of them, and saving the tape and reading the
// file again gives the same tape, before and after it is loaded and
// recalculated.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tape/TapeFile.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "tape file: %s\n", what.c_str());
    std::abort();
}

using Lines = std::vector<std::string>;

Lines ReadBack(const Lines& lines) {
    const auto read = ReadTapeFile(WriteTapeFile(lines));
    if (const auto* error = std::get_if<TapeFileError>(&read))
        Fail("a saved tape is refused: " + Describe(*error));
    return std::get<Lines>(read);
}

}  // namespace
}  // namespace tallyroll

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyroll;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = ReadTapeFile(bytes);

    // A calculator with a tape of its own, which a refused file leaves alone.
    SessionLog log;
    HeadlessView view(&log);
    Calculator calc(view);
    calc.SetStartValue(0);
    calc.Form_Activate();
    for (const char c : std::string_view("12+3=")) {
        auto code = static_cast<std::int16_t>(c);
        CheckKeyPress(calc, code);
    }
    const Lines before = calc.tape().lines();

    if (const auto* error = std::get_if<TapeFileError>(&read)) {
        const auto lineCount = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
        if (error->reason.empty()) Fail("a refusal without a reason");
        if (error->line < 0 || error->line > lineCount)
            Fail("a refusal names line " + std::to_string(error->line) + " of " +
                 std::to_string(lineCount));
        if (error->line == 0 && bytes.size() <= kMaxTapeFileBytes)
            Fail("a file within the size limit refused as a whole: " + error->reason);
        if (calc.tape().lines() != before) Fail("a refused file changed the tape");
        return 0;
    }

    const Lines& lines = std::get<Lines>(read);
    if (lines.size() > TapeList::kMaxLines) Fail("more than 32,766 lines taken");
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (auto why = CheckTapeLine(lines[i]); !why.empty())
            Fail("line " + std::to_string(i + 1) + " taken: " + why);
    if (ReadBack(lines) != lines) Fail("saving and opening changed the file's tape");

    calc.ReplaceTape(lines);
    if (auto why = CheckInvariants(calc, view); !why.empty()) Fail("after loading: " + why);
    const Lines loaded = calc.tape().lines();
    if (loaded.size() != lines.size()) Fail("loading changed the number of lines");
    if (ReadBack(loaded) != loaded) Fail("saving and opening changed the loaded tape");
    return 0;
}
