// The print run through the recording printer: what is printed where, in
// which colour, and what the user sees when printing fails.
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "tape/PrintLayout.h"
#include "tests/print/PrintHarness.h"

namespace tallyroll::test {
namespace {

constexpr double kEps = 1.5e-4;  // recorded inches are rounded to 4 decimals
constexpr double kPageHeight = 10.5;
const char* const kExampleHeader = "Calculator Tape (Printed: 07/12/2026 @ 21:16) Weekly costs";

void ExpectRunFinished(const PrintSession& s) {
    EXPECT_TRUE(s.view.enabled);
    EXPECT_FALSE(s.view.busy);
    EXPECT_EQ(s.view.focus, "picSetFocus");
    EXPECT_EQ(s.log.beeps, 1);
}

void ExpectOneFailureMessage(const PrintSession& s, const std::string& reason) {
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_EQ(s.log.messages[0].title, "Calculator");
    EXPECT_EQ(s.log.messages[0].text, "The tape could not be printed: " + reason);
    EXPECT_EQ(s.log.messages[0].icon, MessageIcon::Warning);
}

TEST(PrintRun, WeeklyCostsExample) {
    PrintSession s;
    s.keys("5+3-10\r");
    ASSERT_EQ(s.tape(), (std::vector<std::string>{"+ 5.00", "+ 3.00", M + " 10.00", "= -2.00"}));
    s.print("Weekly costs");

    ASSERT_EQ(s.log.inputs.size(), 1u);
    EXPECT_EQ(s.log.inputs[0].title, "Calculator");
    EXPECT_EQ(s.log.inputs[0].prompt, "Add title");

    const std::vector<Op> ops = s.ops();
    ASSERT_EQ(ops.size(), 9u);  // start, header, rule, gap, four lines, end

    EXPECT_EQ(ops[0].op, "text");
    EXPECT_EQ(ops[0].text, "");
    EXPECT_FALSE(ops[0].newline);
    EXPECT_EQ(ops[0].font, "Arial");

    const Op& header = ops[1];
    EXPECT_EQ(header.text, kExampleHeader);
    EXPECT_EQ(header.x, 0);
    EXPECT_EQ(header.y, 0);
    EXPECT_EQ(header.size, 12);
    EXPECT_EQ(header.font, "Arial");
    EXPECT_EQ(header.color, 0);
    EXPECT_TRUE(header.newline);

    const Op& rule = ops[2];
    EXPECT_EQ(rule.op, "line");
    EXPECT_EQ(rule.x1, 0);
    EXPECT_NEAR(rule.y1, header.h, kEps);
    EXPECT_EQ(rule.x2, 8.0);
    EXPECT_EQ(rule.y2, rule.y1);
    EXPECT_EQ(rule.color, 0);

    const Op& gap = ops[3];
    EXPECT_EQ(gap.text, "");
    EXPECT_EQ(gap.size, 5);
    EXPECT_TRUE(gap.newline);
    EXPECT_EQ(gap.y, rule.y1);
    EXPECT_LT(gap.h, header.h);

    const double top = gap.y + gap.h;
    const long colors[] = {kBlack, kBlack, kRed, kRed};
    for (int i = 0; i < 4; ++i) {
        const Op& line = ops[static_cast<std::size_t>(4 + i)];
        SCOPED_TRACE(line.text);
        EXPECT_EQ(line.text, s.tape()[static_cast<std::size_t>(i)]);
        EXPECT_EQ(line.size, 10);
        EXPECT_NEAR(line.x + line.w, 1.5, kEps);
        EXPECT_NEAR(line.y, top + i * line.h, 2 * kEps);
        EXPECT_EQ(line.color, colors[i]);
        EXPECT_TRUE(line.newline);
    }
    EXPECT_EQ(ops[8].op, "end");

    EXPECT_TRUE(s.log.messages.empty());
    ExpectRunFinished(s);
}

TEST(PrintRun, HeaderCarriesDateAndTitleAsGiven) {
    struct Row {
        const char* name;
        LocalDateTime clock;
        std::optional<std::string> title;
        std::string header;
    };
    const std::string stamp = "Calculator Tape (Printed: 07/12/2026 @ 21:16)";
    const std::string longTitle(300, 'w');
    const Row rows[] = {
        {"example", {2026, 12, 7, 21, 16}, "Weekly costs", kExampleHeader},
        {"leading_zeros",
         {2027, 1, 5, 9, 5},
         "Q1",
         "Calculator Tape (Printed: 05/01/2027 @ 09:05) Q1"},
        {"midnight", {2026, 12, 31, 0, 0}, "x", "Calculator Tape (Printed: 31/12/2026 @ 00:00) x"},
        {"cancelled_title", {2026, 12, 7, 21, 16}, std::nullopt, stamp + " "},
        {"empty_title", {2026, 12, 7, 21, 16}, "", stamp + " "},
        {"blanks_kept", {2026, 12, 7, 21, 16}, "  spaced  ", stamp + "   spaced  "},
        {"long_title_one_line", {2026, 12, 7, 21, 16}, longTitle, stamp + " " + longTitle},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrintSession s;
        s.view.clock = row.clock;
        s.keys("1+");
        s.print(row.title);
        const std::vector<Op> ops = s.ops();
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[1].text, row.header);
        EXPECT_TRUE(ops[1].newline);
        ASSERT_EQ(s.tapeLines().size(), 1u);  // printed whatever the title
        EXPECT_TRUE(s.log.messages.empty());
    }
}

TEST(PrintLayout, LineColour) {
    struct Row {
        const char* name;
        std::string line;
        long color;
    };
    const Row rows[] = {
        {"operator_line", "+ 5.00", kBlack},
        {"negative_total", "= -3.00", kRed},
        {"subtraction", M + " 4.00", kRed},
        {"negative_grand_total", "G -7.00", kRed},
        {"negative_operand", "x -2.00", kRed},
        {"positive_sub_total", "= 8.00 sub total", kBlack},
        {"separator", std::string(kSeparator), kBlack},
        {"empty", "", kBlack},
    };
    for (const Row& row : rows) EXPECT_EQ(LineColor(row.line), row.color) << row.name;
}

TEST(PrintRun, EveryKindOfLineInItsColour) {
    PrintSession s;
    // Totals, a sub total, a subtraction, negative totals, separators and a
    // negative grand total.
    s.keys("5+3\r+2\r=2-9\r=G");
    const std::vector<std::string> tape = s.tape();
    s.print("kinds");
    const std::vector<Op> lines = s.tapeLines();
    ASSERT_EQ(lines.size(), tape.size());
    bool sawRed = false, sawBlack = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, tape[i]);
        EXPECT_EQ(lines[i].color, LineColor(tape[i])) << tape[i];
        (lines[i].color == kRed ? sawRed : sawBlack) = true;
    }
    EXPECT_TRUE(sawRed && sawBlack);
}

TEST(PrintRun, NextDocumentStartsInBlack) {
    PrintSession s;
    s.keys("2-9\r");  // the last line, "= -7.00", prints red
    s.print("first");
    s.log.printed.clear();
    s.print("second");
    const std::vector<Op> ops = s.ops();
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[1].color, kBlack);
    EXPECT_EQ(ops[2].color, kBlack);
}

TEST(PrintRun, ColumnsFillDownThenAcrossPages) {
    PrintSession s;
    FillTape(s, 700);
    s.print("long");
    const std::vector<Op> ops = s.ops();
    const std::vector<Placed> placed = Placements(s);
    ASSERT_EQ(placed.size(), 700u);
    const double top = ops[3].y + ops[3].h;  // under the gap

    const double edges[] = {1.5, 3.0, 4.5, 6.0};
    int column = 0;  // counted over all pages
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        SCOPED_TRACE("line " + std::to_string(i));
        EXPECT_EQ(p.op.text, "+ 1.00");
        EXPECT_EQ(p.page, column / 4);
        EXPECT_NEAR(p.rightEdge, edges[column % 4], kEps);

        const bool firstInColumn = i == 0 || placed[i - 1].page != p.page ||
                                   std::abs(placed[i - 1].rightEdge - p.rightEdge) > kEps;
        if (firstInColumn) {
            // A later page's first column starts at the top of the page.
            EXPECT_NEAR(p.op.y, column % 4 == 0 && p.page > 0 ? 0 : top, kEps);
        } else {
            EXPECT_NEAR(p.op.y, placed[i - 1].op.y + p.op.h, 2 * kEps);
        }

        // The column ends exactly when two more lines would not fit.
        const double bottom = p.op.y + p.op.h;
        const bool full = kPageHeight <= bottom + 2 * p.op.h;
        if (i + 1 < placed.size()) {
            const bool nextMoves = placed[i + 1].page != p.page ||
                                   std::abs(placed[i + 1].rightEdge - p.rightEdge) > kEps;
            EXPECT_EQ(nextMoves, full) << "bottom " << bottom;
            if (nextMoves) ++column;
        }
    }
    EXPECT_GE(placed.back().page, 2);  // several pages

    // The header, the rule and the gap are on the first page only.
    bool afterNewPage = false;
    int pages = 1;
    for (const Op& op : ops) {
        if (op.op == "newpage") {
            afterNewPage = true;
            ++pages;
        }
        if (afterNewPage) {
            EXPECT_TRUE(op.op != "line" && op.size != 12 && op.size != 5);
        }
    }
    EXPECT_EQ(pages, placed.back().page + 1);
    EXPECT_EQ(ops.back().op, "end");
}

TEST(PrintRun, LastLineEndingThePageAsksForNoMoreThanAnEmptyPage) {
    const int perPage = LinesPerFirstPage();
    ASSERT_GT(perPage, 4 * 50);
    PrintSession s;
    FillTape(s, perPage);
    s.print("full page");
    const std::vector<Op> ops = s.ops();
    // The run asks for a new page after the last line, then ends at once: the
    // printer drops a page left empty (checked on a real PDF elsewhere).
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[ops.size() - 3].text, "+ 1.00");
    EXPECT_EQ(ops[ops.size() - 2].op, "newpage");
    EXPECT_EQ(ops[ops.size() - 1].op, "end");
    EXPECT_EQ(Placements(s).back().page, 0);
}

TEST(PrintRun, EmptyTapePrintsNothingButBeeps) {
    PrintSession s;
    int printersAsked = 0;
    s.view.printerFactory = [&] {
        ++printersAsked;
        return MakeRecordingPrinter(s.log);
    };
    s.view.focus = "cmdPrint";
    s.keys("P");
    EXPECT_EQ(printersAsked, 0);
    EXPECT_TRUE(s.log.inputs.empty());
    EXPECT_TRUE(s.log.printed.empty());
    EXPECT_TRUE(s.log.messages.empty());
    ExpectRunFinished(s);
}

TEST(PrintRun, WindowIsDisabledAndBusyWhileThePrinterWorks) {
    PrintSession s;
    bool enabledWhilePrinting = true, busyWhilePrinting = false;
    s.view.printerFactory = [&] {
        enabledWhilePrinting = s.view.enabled;
        busyWhilePrinting = s.view.busy;
        return MakeRecordingPrinter(s.log);
    };
    s.keys("4+");
    s.print("t");
    EXPECT_FALSE(enabledWhilePrinting);
    EXPECT_TRUE(busyWhilePrinting);
    ExpectRunFinished(s);
}

TEST(PrintRun, PrintingLeavesTheCalculationAlone) {
    PrintSession s;
    s.keys("5+3-10\r7");
    const std::vector<std::string> tape = s.tape();
    const int selected = s.calc.tape().selected();
    const std::string display = s.view.result;
    const double total = s.calc.state().dblTotal;
    s.print("t");
    EXPECT_EQ(s.tape(), tape);
    EXPECT_EQ(s.calc.tape().selected(), selected);
    EXPECT_EQ(s.view.result, display);
    EXPECT_EQ(s.calc.state().dblTotal, total);
    s.keys("+");  // the entry typed before printing goes on
    EXPECT_EQ(s.tape().back(), "+ 7.00");
}

TEST(PrintRun, NoDefaultPrinter) {
    PrintSession s;
    s.view.printerFactory = [] { return nullptr; };
    s.keys("5+3-10\r");
    s.print("Weekly costs");
    EXPECT_TRUE(s.log.printed.empty());
    ExpectOneFailureMessage(s, "no default printer");
    ExpectRunFinished(s);
    s.keys("2+");  // the window takes keys again
    EXPECT_EQ(s.tape().back(), "+ 2.00");
}

TEST(PrintRun, FailingPrinter) {
    PrintSession s;
    s.view.printerFactory = [] { return MakeFailingPrinter(); };
    s.keys("5+3\r");
    s.print("t");
    EXPECT_TRUE(s.log.printed.empty());
    ExpectOneFailureMessage(s, "the printer reported an error");
    ExpectRunFinished(s);
}

// Passes every operation to a recording printer, except that the chosen
// occurrences of one operation throw instead; a printer that breaks down
// fails every operation after its first failure.
class FlakyPrinter : public Printer {
  public:
    FlakyPrinter(std::unique_ptr<Printer> inner, std::string op, int first, int last,
                 bool breaksDown)
        : inner_(std::move(inner)),
          op_(std::move(op)),
          first_(first),
          last_(last),
          breaksDown_(breaksDown) {}

    void setUnitInches() override {
        pass("setUnitInches", [&] { inner_->setUnitInches(); });
    }
    void setCopies(int n) override {
        pass("setCopies", [&] { inner_->setCopies(n); });
    }
    void setFontName(const std::string& n) override {
        pass("setFontName", [&] { inner_->setFontName(n); });
    }
    void setFontSize(float p) override {
        pass("setFontSize", [&] { inner_->setFontSize(p); });
    }
    void setColor(long c) override {
        pass("setColor", [&] { inner_->setColor(c); });
    }
    float printableWidth() override {
        return pass("printableWidth", [&] { return inner_->printableWidth(); });
    }
    float printableHeight() override {
        return pass("printableHeight", [&] { return inner_->printableHeight(); });
    }
    float currentX() override {
        return pass("currentX", [&] { return inner_->currentX(); });
    }
    float currentY() override {
        return pass("currentY", [&] { return inner_->currentY(); });
    }
    void setCurrentX(float x) override {
        pass("setCurrentX", [&] { inner_->setCurrentX(x); });
    }
    void setCurrentY(float y) override {
        pass("setCurrentY", [&] { inner_->setCurrentY(y); });
    }
    float textWidth(const std::string& t) override {
        return pass("textWidth", [&] { return inner_->textWidth(t); });
    }
    float textHeight(const std::string& t) override {
        return pass("textHeight", [&] { return inner_->textHeight(t); });
    }
    void print(const std::string& t, bool e) override {
        pass("print", [&] { inner_->print(t, e); });
    }
    void line(float a, float b, float c, float d) override {
        pass("line", [&] { inner_->line(a, b, c, d); });
    }
    void newPage() override {
        pass("newPage", [&] { inner_->newPage(); });
    }
    void endDoc() override {
        pass("endDoc", [&] { inner_->endDoc(); });
    }

  private:
    template <class F>
    std::invoke_result_t<F> pass(const char* op, F f) {
        if (broken_) throw PrintError("paper jam");
        if (op_ == op && ++seen_ >= first_ && seen_ <= last_) {
            broken_ = breaksDown_;
            throw PrintError("paper jam");
        }
        return f();
    }

    std::unique_ptr<Printer> inner_;
    std::string op_;
    int first_, last_, seen_ = 0;
    bool breaksDown_, broken_ = false;
};

TEST(PrintRun, PrinterFailingPartWay) {
    constexpr int kForever = 1 << 30;
    struct Row {
        const char* name;
        const char* op;
        int first, last;
        bool breaksDown;
        std::vector<std::string> printedLines;  // the tape lines that came out
        bool ended;                             // the document was released
    };
    // The tape is "+ 5.00", "+ 3.00", "– 10.00", "= -2.00". The start, the
    // header and the gap are print calls 1 to 3; the tape lines 4 to 7.
    const std::vector<std::string> all = {"+ 5.00", "+ 3.00", M + " 10.00", "= -2.00"};
    const Row rows[] = {
        {"setting_up_the_font", "setFontSize", 2, 2, false, {}, true},
        {"the_header", "print", 2, 2, false, {}, true},
        {"one_tape_line", "print", 5, 5, false, {"+ 5.00", M + " 10.00", "= -2.00"}, true},
        {"breaks_down_at_the_third_line", "print", 6, 6, true, {"+ 5.00", "+ 3.00"}, false},
        {"breaks_down_at_the_start", "setUnitInches", 1, 1, true, {}, false},
        {"every_measurement", "textWidth", 1, kForever, false, all, true},
        {"every_line_height", "textHeight", 1, kForever, false, all, true},
        {"ending_the_document", "endDoc", 1, 1, false, all, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrintSession s;
        s.view.printerFactory = [&] {
            return std::make_unique<FlakyPrinter>(MakeRecordingPrinter(s.log), row.op, row.first,
                                                  row.last, row.breaksDown);
        };
        s.keys("5+3-10\r");
        s.print("Weekly costs");
        std::vector<std::string> printed;
        for (const Op& op : s.tapeLines()) printed.push_back(op.text);
        EXPECT_EQ(printed, row.printedLines);
        EXPECT_EQ(!s.ops().empty() && s.ops().back().op == "end", row.ended);
        ExpectOneFailureMessage(s, "paper jam");
        ExpectRunFinished(s);
    }
}

}  // namespace
}  // namespace tallyroll::test
