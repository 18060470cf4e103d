// Grand total, the two-stage cancel, and clear.
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {
using test::PrintTo;

struct TotalsRow {
    const char* name;
    const char* keys;
    Lines tape;
    const char* display;
    const char* grandTotalLabel;
};

const TotalsRow kTotalsRows[] = {
    {"grand_total_after_equals_with_zero_grand",
     "12+3=G",
     {"+ 12.00", "+ 3.00", "= 15.00", "G 15.00", SEP},
     "15.00",
     ""},
    {"grand_total_after_equals_with_grand",
     "1+1==12+3=G",
     {"+ 1.00", "+ 1.00", "= 2.00", SEP, "+ 12.00", "+ 3.00", "= 15.00", SEP, "G 17.00", SEP},
     "17.00",
     ""},
    {"grand_total_twice_does_nothing_more",
     "12+3=GG",
     {"+ 12.00", "+ 3.00", "= 15.00", "G 15.00", SEP},
     "15.00",
     ""},
    {"grand_total_with_zero_grand_only_takes_equals", "5+G", {"+ 5.00", "= 5.00"}, "5.00", ""},
    {"cancel_once_keeps_grand_total",
     "2+2==3+C",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP, "+ 3.00", SEP},
     ".",
     "4.00 "},
    {"cancel_twice_writes_grand_total",
     "2+2==3+CC",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP, "+ 3.00", SEP, "G 4.00", SEP},
     ".",
     ""},
    {"cancel_three_times_writes_no_more",
     "2+2==3+CCC",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP, "+ 3.00", SEP, "G 4.00", SEP},
     ".",
     ""},
    {"point_between_cancels_does_not_disarm",
     "2+2==C.C",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP, "G 4.00", SEP},
     ".",
     ""},
    {"digit_between_cancels_disarms",
     "2+2==C1C",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP},
     ".",
     "4.00 "},
    {"escape_is_cancel",
     "2+2==\x1b\x1b",
     {"+ 2.00", "+ 2.00", "= 4.00", SEP, "G 4.00", SEP},
     ".",
     ""},
};

class TotalsTest : public testing::TestWithParam<TotalsRow> {};

TEST_P(TotalsTest, TapeDisplayAndGrandTotal) {
    Session s;
    s.keys(GetParam().keys);
    EXPECT_EQ(s.tape(), GetParam().tape);
    EXPECT_EQ(s.view.result, GetParam().display);
    EXPECT_EQ(s.view.grandTotal, GetParam().grandTotalLabel);
}

INSTANTIATE_TEST_SUITE_P(Rows, TotalsTest, testing::ValuesIn(kTotalsRows), RowName());

TEST(Totals, GrandTotalLineIsNotSelectedTheSeparatorIs) {
    Session s;
    s.keys("12+3=G");
    EXPECT_EQ(s.calc.tape().selected(), 4);
    EXPECT_EQ(s.st().dblGrandTotal, 0);
}

TEST(Totals, CancelEmptiesTheOperatorIndicator) {
    Session s;
    s.keys("5+C");
    EXPECT_EQ(s.view.operatorText, "");
    EXPECT_TRUE(s.st().bCancelPressed);
    EXPECT_EQ(s.st().strOperator, "+");
}

TEST(Totals, ClearKeepsThePendingCalculation) {
    Session s;
    s.keys("12+3+");
    s.keys("L");
    EXPECT_TRUE(s.tape().empty());
    EXPECT_EQ(s.calc.tape().selected(), -1);
    EXPECT_EQ(s.view.result, ".");
    EXPECT_EQ(s.view.operatorText, "");
    EXPECT_EQ(s.st().strOperator, "+");
    EXPECT_EQ(s.st().dblTotal, 15);
    s.keys("5=");  // the pending sum carries on onto the cleared tape
    EXPECT_EQ(s.tape(), (Lines{"+ 5.00", "= 20.00"}));
}

TEST(Totals, ExitCancelsThenEndsTheProgram) {
    Session s;
    s.keys("2+2==3+X");
    EXPECT_TRUE(s.view.ended);
    EXPECT_EQ(s.tape().back(), SEP);
    EXPECT_EQ(s.view.operatorText, "");
}

TEST(Totals, SaveMarksAcceptanceAndHides) {
    Session s;
    s.keys("12.5S");
    EXPECT_TRUE(s.view.hidden);
    EXPECT_EQ(s.calc.captions().cmdSaveTag, "OK");
    EXPECT_EQ(s.view.result, "12.5");  // left for the host to read
}

}  // namespace
}  // namespace tallyroll::test
