// A print run whose printer fails at every single operation in turn, once or
// from there on: the tape and the calculation are never changed by it, the
// window is always given back (enabled, normal pointer, focus parked), and
// whatever tape lines come out are the tape's own lines in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tape/TapeLine.h"
#include "tests/support/FaultPrinter.h"
#include "tests/support/HeadlessWindow.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

// A window whose printer fails, or is missing, as the mode says.
struct PrintingWindow : test::HeadlessWindow {
    PrinterMode mode;
    PrintRecord record;

    PrintingWindow() {
        view.printerFactory = [this]() -> std::unique_ptr<Printer> {
            if (mode.kind == PrinterMode::None) return nullptr;
            return std::make_unique<FaultPrinter>(mode, record);
        };
    }
    // The printed texts that are tape lines: not the header, not the empty
    // texts that start the document and make the gap.
    std::vector<std::string> printedLines() const {
        std::vector<std::string> lines;
        for (const std::string& text : record.printed)
            if (!text.empty() && !BeginsWith(text, "Calculator Tape (Printed: "))
                lines.push_back(text);
        return lines;
    }
    void print(PrinterMode m) {
        mode = m;
        record = {};
        log = {};
        log.answers.push_back("Weekly costs");
        keys("p");
    }
};

// True when `part` is `whole` with `missing` or fewer of its lines left out.
bool InOrderWithGaps(const std::vector<std::string>& part, const std::vector<std::string>& whole,
                     std::size_t missing) {
    std::size_t at = 0;
    for (const std::string& line : part) {
        while (at < whole.size() && whole[at] != line) ++at;
        if (at++ == whole.size()) return false;
    }
    return part.size() + missing >= whole.size();
}

class PrinterFailure : public testing::TestWithParam<PrinterMode::Kind> {};

TEST_P(PrinterFailure, AtEveryOperation) {
    PrintingWindow w;
    w.keys("12+3=");
    // Long enough for several columns and a second page.
    for (int i = 0; i < 70; ++i) w.keys(i % 2 ? "7-" : "1.5*");
    w.keys("=G");
    const std::vector<std::string> tape = w.tape();
    const CalcState before = w.calc.state();

    w.print({PrinterMode::Working, 0});
    ASSERT_EQ(w.printedLines(), tape);
    const int operations = w.record.operations;
    ASSERT_GT(operations, 3 * static_cast<int>(tape.size()));

    for (int at = 0; at < operations; ++at) {
        SCOPED_TRACE("printer fails at operation " + std::to_string(at));
        w.print({GetParam(), at});
        ASSERT_GE(w.record.failures, 1);
        EXPECT_EQ(w.tape(), tape);
        EXPECT_EQ(w.calc.state().dblTotal, before.dblTotal);
        EXPECT_EQ(w.calc.state().dblGrandTotal, before.dblGrandTotal);
        EXPECT_EQ(w.calc.state().strOperator, before.strOperator);
        EXPECT_TRUE(w.view.enabled);
        EXPECT_FALSE(w.view.busy);
        EXPECT_EQ(w.view.focus, "picSetFocus");
        EXPECT_EQ(w.log.beeps, 1);
        // A failure before the tape lines prints none of them; a single
        // failed operation among them loses at most the line it was printing.
        const std::vector<std::string> printed = w.printedLines();
        const std::size_t lost =
            GetParam() == PrinterMode::FailOnce && !printed.empty() ? 1 : tape.size();
        EXPECT_TRUE(InOrderWithGaps(printed, tape, lost));
        ASSERT_EQ(CheckInvariants(w.calc, w.view), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PrinterFailure,
                         testing::Values(PrinterMode::FailOnce, PrinterMode::FailFrom),
                         [](const testing::TestParamInfo<PrinterMode::Kind>& row) {
                             return row.param == PrinterMode::FailOnce ? "OneOperation"
                                                                       : "FromThereOn";
                         });

// A failure before the first tape line (no printer, a failing set-up or
// header) prints no tape line at all; the window is given back all the same.
TEST(PrinterFailure, BeforeTheTapeLinesPrintsNone) {
    PrintingWindow w;
    w.keys("12+3=");
    w.print({PrinterMode::FailOnce, 1});
    EXPECT_TRUE(w.printedLines().empty());
    w.print({PrinterMode::None, 0});
    EXPECT_TRUE(w.record.printed.empty());
    EXPECT_TRUE(w.view.enabled);
    EXPECT_EQ(w.log.beeps, 1);
}

}  // namespace
}  // namespace tallyroll
