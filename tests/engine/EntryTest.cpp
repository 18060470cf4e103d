// Number entry: digits, decimal point, backspace, sign and clear entry.
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {
using test::PrintTo;

struct EntryRow {
    const char* name;
    const char* keys;  // "\b" is backspace
    const char* display;
    double entry;
};

const EntryRow kEntryRows[] = {
    {"digits_and_point", "12.5", "12.5", 12.5},
    {"second_point_only_switches", "5..1", "5.1", 5.1},
    {"leading_zeros_stay", "007", "007.", 7},
    {"backspace_one_digit", "1\b", ".", 0},
    {"backspace_on_empty_does_nothing", "\b", ".", 0},
    {"backspace_keeps_decimals_region", "12.3\b4", "12.4", 12.4},
    {"backspace_removes_digit_before_point", "123\b", "12.", 12},
    {"backspace_on_result", "12+3=\b", "15.0", 15},
    {"clear_entry_shows_zero", "12E", "0", 0},
    {"digit_after_clear_entry", "12E5", "5.", 5},
    {"backspace_on_clear_entry_zero", "E\b", "0", 0},
    {"point_after_total_loses_the_point", "12+3=.5", "5.", 5},
    {"digit_after_total_starts_new_calculation", "12+3=4", "4.", 4},
    {"minus_on_empty_then_backspace", "-5\b", "-.", 0},
    {"negative_empty_backspace", "-\b", ".", 0},
};

class EntryTest : public testing::TestWithParam<EntryRow> {};

TEST_P(EntryTest, DisplayAndEntryAgree) {
    Session s;
    s.keys(GetParam().keys);
    EXPECT_EQ(s.view.result, GetParam().display);
    EXPECT_DOUBLE_EQ(s.st().dblEntry, GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(Rows, EntryTest, testing::ValuesIn(kEntryRows), RowName());

TEST(Entry, DigitAfterTotalAddsItToGrandTotal) {
    Session s;
    s.keys("12+3=4");
    EXPECT_EQ(s.st().dblGrandTotal, 15);
    EXPECT_EQ(s.view.grandTotal, "15.00 ");
    EXPECT_EQ(s.tape().back(), SEP);
}

TEST(Entry, PointAfterTotalAddsZeroNotTheResult) {
    Session s;
    s.keys("12+3=.5");
    EXPECT_EQ(s.st().dblGrandTotal, 0);
    EXPECT_EQ(s.view.grandTotal, "");
}

TEST(Entry, SignKeyOnEmptyDisplayAndTwice) {
    Session s;
    s.keys("{neg}");
    EXPECT_EQ(s.view.result, "0.00");
    EXPECT_TRUE(s.st().bNegative);
    s.keys("12{neg}{neg}");
    EXPECT_EQ(s.view.result, "12.00");
    EXPECT_DOUBLE_EQ(s.st().dblEntry, 12);
    EXPECT_TRUE(s.st().bNegative);
    s.keys("3");  // whole-part region: the formatted text is cut at its point
    EXPECT_EQ(s.view.result, "123.");
}

TEST(Entry, StartValueIsContinuedByDigits) {
    Session s;
    s.calc.SetStartValue(125000);
    EXPECT_EQ(s.view.result, "12.50");
    EXPECT_EQ(s.st().bytNumberCount, 1);
    s.keys("3");
    EXPECT_EQ(s.view.result, "12.503");
    EXPECT_DOUBLE_EQ(s.st().dblEntry, 12.503);
}

TEST(Entry, StartValueZeroOrNegativeStartsEmpty) {
    for (const Currency v : {Currency{0}, Currency{-50000}}) {
        Session s;
        s.calc.SetStartValue(v);
        EXPECT_EQ(s.view.result, ".");
        EXPECT_EQ(s.st().dblEntry, 0);
        EXPECT_EQ(s.st().bytNumberCount, 0);
    }
}

TEST(Entry, StartValueBeforeAnyPatternUsesGeneralForm) {
    SessionLog log;
    HeadlessView view(&log);
    Calculator calc(view);
    calc.SetStartValue(125000);
    EXPECT_EQ(view.result, "12.5");
}

TEST(Entry, DigitsBeyondTheDoubleRangeAreRefused) {
    Session s;
    s.keys(std::string(400, '9'));
    EXPECT_EQ(s.view.result.size(), 309u);  // 308 nines fit below the largest double
    EXPECT_TRUE(std::isfinite(s.st().dblEntry));
    EXPECT_EQ(ReadNumber(s.view.result).value, s.st().dblEntry);
}

TEST(Entry, DecimalsChoiceChangesOnlyLaterResults) {
    Session s;
    s.keys("12+");
    s.calc.cboDecPlace_Click(0);
    EXPECT_EQ(s.st().strFormat, "#0.");
    EXPECT_EQ(s.tape().back(), "+ 12.00");
    s.keys("3+");
    EXPECT_EQ(s.view.result, "15.");
    EXPECT_EQ(s.tape().back(), "+ 3.");
    s.calc.cboDecPlace_Click(6);
    s.keys("=");
    EXPECT_EQ(s.view.result, "15.000000");
}

}  // namespace
}  // namespace tallyroll::test
