// Correcting a tape line and recalculating the whole tape from its text.
#include "tape/Recalculate.h"

#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {
using test::PrintTo;

struct ChangeRow {
    const char* name;
    const char* keys;
    int line;
    const char* number;
    const char* type;
    Lines tape;
    const char* display;
    const char* grandTotalLabel;
};

const ChangeRow kChangeRows[] = {
    {"closed_calculation_feeds_grand_total",
     "5+3==",
     0,
     "6",
     "+",
     {"+ 6.00", "+ 3.00", "= 9.00", SEP},
     ".",
     "9.00"},
    {"open_calculation_sets_total_and_display",
     "10-4=+2+",
     1,
     "5",
     "-",
     {"+ 10.00", M + " 5.00", "= 5.00 sub total", "+ 2.00"},
     "7.00",
     ""},
    {"reciprocal_type_is_passed_over",
     "5+3=",
     1,
     "3",
     "1/x",
     {"+ 5.00", "1/x 3.00", "= 5.00"},
     "5.00",
     ""},
    {"total_then_grand_total_keeps_its_text",
     "12+3=G",
     0,
     "12",
     "+",
     {"+ 12.00", "+ 3.00", "= 15.00", "G 15.00", SEP},
     "15.00",
     "0.00"},
    {"grand_total_of_two_calculations",
     "5+4==3+4==G",
     0,
     "5",
     "+",
     {"+ 5.00", "+ 4.00", "= 9.00", SEP, "+ 3.00", "+ 4.00", "= 7.00", SEP, "G 16.00", SEP},
     "16.00",
     "0.00"},
    {"letters_read_as_zero", "5+3=", 1, "abc", "+", {"+ 5.00", "+ 0.00", "= 5.00"}, "5.00", ""},
    {"typed_blanks_and_exponent",
     "5+3=",
     1,
     " 1 0e1",
     "x",
     {"+ 5.00", "x 100.00", "= 500.00"},
     "500.00",
     ""},
    {"total_line_last_gets_no_sub_total_mark",
     "2+3=*4=",
     0,
     "1",
     "+",
     {"+ 1.00", "+ 3.00", "= 4.00 sub total", "x 4.00", "= 16.00"},
     "16.00",
     ""},
};

class ChangeTest : public testing::TestWithParam<ChangeRow> {};

TEST_P(ChangeTest, RewritesEveryTotal) {
    const ChangeRow& row = GetParam();
    Session s;
    s.keys(row.keys);
    s.change(row.line, row.number, row.type);
    EXPECT_EQ(s.tape(), row.tape);
    EXPECT_EQ(s.view.result, row.display);
    EXPECT_EQ(s.view.grandTotal, row.grandTotalLabel);
    EXPECT_FALSE(s.view.panelVisible);
    EXPECT_EQ(s.view.focus, "picSetFocus");
    EXPECT_TRUE(s.log.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ChangeTest, testing::ValuesIn(kChangeRows), RowName());

TEST(Change, OpenCalculationUpdatesTheMembers) {
    Session s;
    s.keys("10-4=+2+");
    s.change(1, "5", "-");
    EXPECT_EQ(s.st().dblTotal, 7);
    EXPECT_EQ(s.st().dblEntry, 7);
    EXPECT_EQ(s.st().dblGrandTotal, 0);
}

TEST(Change, OpeningFillsThePanel) {
    struct Row {
        const char* keys;
        int line;
        std::string from, to, type;
    };
    const Row rows[] = {
        {"9-2.5=", 1, "- 2.50", "2.50", "-"},
        {"9+2.5=", 1, "+ 2.50", "2.50", "+"},
        {"9*2=", 1, "x 2.00", "2.00", "x"},
    };
    for (const Row& row : rows) {
        Session s;
        s.keys(row.keys);
        s.calc.selectTapeLine(row.line);
        s.calc.lstTape_DblClick();
        EXPECT_TRUE(s.view.panelVisible);
        EXPECT_EQ(s.view.changeFrom, row.from);
        EXPECT_EQ(s.view.changeToText, row.to);
        EXPECT_TRUE(s.view.changeToAllSelected);
        EXPECT_EQ(s.view.changeTypeText, row.type);
        EXPECT_EQ(s.view.focus, "txtChangeTo");
    }
}

TEST(Change, ReciprocalLineReopensWithTypeOne) {
    Session s;
    s.keys("5+3=");
    s.change(1, "3", "1/x");
    s.calc.selectTapeLine(1);
    s.calc.lstTape_DblClick();
    EXPECT_EQ(s.view.changeTypeText, "1");
    EXPECT_EQ(s.view.changeToText, "x 3.00");
}

TEST(Change, TotalsAndSeparatorsCannotBeOpened) {
    Session s;
    s.keys("12+3=G");
    for (int line : {2, 3, 4}) {
        s.calc.selectTapeLine(line);
        s.calc.lstTape_DblClick();
        EXPECT_FALSE(s.view.panelVisible) << line;
    }
    Session empty;
    empty.calc.lstTape_DblClick();
    EXPECT_FALSE(empty.view.panelVisible);
}

TEST(Change, EnterInTheNumberBoxSavesAndTypeBoxTakesNoKeys) {
    Session s;
    s.keys("12+3=");
    s.calc.selectTapeLine(0);
    s.calc.lstTape_DblClick();
    std::int16_t key = 'a';
    s.calc.cboType_KeyPress(key);
    EXPECT_EQ(key, 0);
    std::int16_t code = 40, shift = 0;
    s.calc.cboType_KeyDown(code, shift);
    EXPECT_EQ(code, 0);
    s.view.setChangeTo("20");
    key = '5';
    s.calc.txtChangeTo_KeyPress(key);
    EXPECT_EQ(key, '5');  // other characters pass to the box
    key = 13;
    s.calc.txtChangeTo_KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(s.tape(), (Lines{"+ 20.00", "+ 3.00", "= 23.00"}));
}

TEST(Change, NewDecimalsRewriteTotalsAndTheChangedLineOnly) {
    Session s;
    s.keys("5+3=");
    s.calc.cboDecPlace_Click(1);
    s.change(0, "6", "+");
    EXPECT_EQ(s.tape(), (Lines{"+ 6.0", "+ 3.00", "= 9.0"}));
}

TEST(Change, FaultsWarnAndLeaveTheTotalUnchanged) {
    Session s;
    s.keys("8*2=");
    s.change(1, "0", "/");
    EXPECT_EQ(s.messages(), Lines{"Divide by zero Error"});
    EXPECT_EQ(s.tape(), (Lines{"+ 8.00", "/ 0.00", "= 8.00"}));

    Session t;
    t.keys("1" + std::string(308, '0') + "*2=");
    t.log.messages.clear();
    t.change(1, "10", "x");
    EXPECT_EQ(t.messages(), Lines{"Overflow Error"});
    EXPECT_EQ(t.tape().back(), "= " + FormatNumber(1e308, "#0.00"));
}

TEST(Change, NumberBeyondTheDoubleRangeIsRefused) {
    Session s;
    s.keys("5+3=");
    const Lines before = s.tape();
    s.calc.selectTapeLine(0);
    s.calc.lstTape_DblClick();
    s.view.setChangeTo("1e400");
    s.calc.cmdSaveChange_Click();
    EXPECT_EQ(s.messages(), Lines{"Overflow Error"});
    EXPECT_EQ(s.tape(), before);
    EXPECT_TRUE(s.view.panelVisible);
}

TEST(Change, SaveWithNoSelectedLineClosesThePanel) {
    Session s;
    s.keys("5+3=");
    s.calc.selectTapeLine(0);
    s.calc.lstTape_DblClick();
    s.calc.cmdClear_Click();
    s.view.setChangeTo("9");
    s.calc.cmdSaveChange_Click();
    EXPECT_FALSE(s.view.panelVisible);
    EXPECT_TRUE(s.tape().empty());
    EXPECT_EQ(s.view.focus, "picSetFocus");
}

TEST(Change, CancelChangesNothing) {
    Session s;
    s.keys("5+3=");
    const Lines before = s.tape();
    s.calc.selectTapeLine(0);
    s.calc.lstTape_DblClick();
    s.view.setChangeTo("9");
    s.calc.cmdCancelChange_Click();
    EXPECT_EQ(s.tape(), before);
    EXPECT_FALSE(s.view.panelVisible);
}

TEST(Recalculate, KeepsTheLineCountAndIsStableOnItsOwnOutput) {
    const Lines tapes[] = {
        {"+ 1.00", "x 3.00", "= 3.00", SEP, "G 3.00", SEP},
        {"garbage", "", "=", "G", "*", "+ abc", M + " 1e5", "/ 0.00", "- 2.00", "= 1.00 sub total"},
        {"= 5.00", "G 1.00", "= 2.00", "= 3.00"},
    };
    auto format = [](double v) { return FormatNumber(v, "#0.00"); };
    for (const Lines& lines : tapes) {
        TapeList tape;
        for (const auto& l : lines) tape.add(l);
        RecalculateTape(tape, format);
        EXPECT_EQ(tape.count(), static_cast<int>(lines.size()));
        Lines once;
        for (int i = 0; i < tape.count(); ++i) once.push_back(tape.line(i));
        RecalculateTape(tape, format);
        for (int i = 0; i < tape.count(); ++i)
            EXPECT_EQ(tape.line(i), once[static_cast<std::size_t>(i)]);
    }
}

}  // namespace
}  // namespace tallyroll::test
