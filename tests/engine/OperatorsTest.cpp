// The operator keys and equals, row by row through the worked sequences.
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {
using test::PrintTo;

struct SequenceRow {
    const char* name;
    const char* keys;
    Lines tape;
    const char* display;
    const char* op;
};

const SequenceRow kSequences[] = {
    {"sum", "12+3=", {"+ 12.00", "+ 3.00", "= 15.00"}, "15.00", "="},
    {"operator_on_total_marks_sub_total",
     "12+3=*2=",
     {"+ 12.00", "+ 3.00", "= 15.00 sub total", "x 2.00", "= 30.00"},
     "30.00",
     "="},
    {"equals_again_closes_into_grand_total",
     "12+3=*2==",
     {"+ 12.00", "+ 3.00", "= 15.00 sub total", "x 2.00", "= 30.00", SEP},
     ".",
     "+"},
    {"next_calculation_after_grand_total",
     "12+3=*2==7+3=",
     {"+ 12.00", "+ 3.00", "= 15.00 sub total", "x 2.00", "= 30.00", SEP, "+ 7.00", "+ 3.00",
      "= 10.00"},
     "10.00",
     "="},
    {"cancel_then_every_number_is_written",
     "12+3+C7+3=",
     {"+ 12.00", "+ 3.00", SEP, "+ 7.00", "+ 3.00", "= 10.00"},
     "10.00",
     "="},
    {"running_total_through_zero_subtracts",
     "2-2-7+1=",
     {"+ 2.00", M + " 2.00", M + " 7.00", "+ 1.00", "= -6.00"},
     "-6.00",
     "="},
    {"running_total_through_zero_after_product",
     "3*1-3-3=",
     {"+ 3.00", "x 1.00", M + " 3.00", M + " 3.00", "= -3.00"},
     "-3.00",
     "="},
    {"zero_divided_is_zero_without_total_line",
     "7-7/10=",
     {"+ 7.00", M + " 7.00", "/ 10.00"},
     "0.00",
     "="},
    {"first_number_after_zero_total_is_written_once",
     "5-5=3+2=",
     {"+ 5.00", M + " 5.00", SEP, "+ 3.00", "+ 2.00", "= 5.00"},
     "5.00",
     "="},
    {"operator_again_repeats_last_number", "5+++", {"+ 5.00", "+ 5.00", "+ 5.00"}, "15.00", "+"},
    {"equals_after_operator", "5+=", {"+ 5.00", "= 5.00"}, "5.00", "="},
    {"zero_total_writes_no_total_line", "5*=", {"+ 5.00"}, "0.00", "="},
    {"divide_by_zero_keeps_total", "8/=", {"+ 8.00", "= 8.00"}, "8.00", "="},
    {"zero_entry_ignores_equals", "8/0=", {"+ 8.00"}, "0.", "/"},
    {"minus_on_empty_display_negates", "-5=", {"= -5.00"}, "-5.", "="},
    {"sign_key_writes_negative_entry_block",
     "10+5{neg}+",
     {"+ 10.00", SEP, "+ 10.00", "+ -5.00"},
     "5.00",
     "+"},
    {"negative_last_number_is_not_repeated",
     "5{neg}++",
     {SEP, "+ 0.00", "+ -5.00", "+ -5.00"},
     "-5.00",
     "+"},
    {"repeat_takes_last_operand_not_sign",
     "5+{neg}+",
     {"+ 5.00", SEP, "+ 5.00", "+ 5.00"},
     "10.00",
     "+"},
    {"subtraction_uses_minus_character", "9-2.5=", {"+ 9.00", M + " 2.50", "= 6.50"}, "6.50", "="},
    {"equals_on_a_number_leaves_it_unformatted", "5=", {"= 5.00"}, "5.", "="},
    {"operator_on_empty_display_does_nothing", "+*/=", {}, ".", ""},
};

class SequenceTest : public testing::TestWithParam<SequenceRow> {};

TEST_P(SequenceTest, TapeDisplayAndOperator) {
    const SequenceRow& row = GetParam();
    Session s;
    s.keys(row.keys);
    EXPECT_EQ(s.tape(), row.tape);
    EXPECT_EQ(s.view.result, row.display);
    EXPECT_EQ(s.view.operatorText, row.op);
    EXPECT_EQ(s.view.focus, "picSetFocus");
}

INSTANTIATE_TEST_SUITE_P(Worked, SequenceTest, testing::ValuesIn(kSequences), RowName());

TEST(Operators, FirstSumLeavesTheMembersAsAnAddingMachineWould) {
    Session s;
    s.keys("12+3\r");
    EXPECT_EQ(s.st().dblTotal, 15);
    EXPECT_EQ(s.st().dblOperand, 3);
    EXPECT_EQ(s.st().dblLastOperand, 3);
    EXPECT_EQ(s.st().bytNumberCount, 1);
    EXPECT_EQ(s.st().strLastInput, "NONE");
    EXPECT_EQ(s.st().strOperator, "=");
    EXPECT_TRUE(s.st().bTotalShown);
    EXPECT_EQ(s.calc.tape().selected(), 2);
}

TEST(Operators, GrandTotalOfClosedCalculationShowsInItsLabel) {
    Session s;
    s.keys("12+3=*2==");
    EXPECT_EQ(s.view.grandTotal, "30.00 ");
    EXPECT_EQ(s.st().dblGrandTotal, 30);
}

TEST(Operators, DivideByZeroShowsOneWarning) {
    Session s;
    s.keys("8/=");
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_EQ(s.log.messages[0].title, "Calculator");
    EXPECT_EQ(s.log.messages[0].text, "Divide by zero Error");
    EXPECT_EQ(s.log.messages[0].icon, MessageIcon::Warning);
}

TEST(Operators, OverflowKeepsTheTotalAndWarns) {
    Session s;
    s.keys("1" + std::string(308, '0') + "*10=");
    EXPECT_EQ(s.messages(), Lines{"Overflow Error"});
    EXPECT_EQ(s.st().dblTotal, 1e308);
    EXPECT_TRUE(std::isfinite(s.st().dblEntry));
    EXPECT_EQ(s.view.result.find_first_not_of("0123456789."), std::string::npos);
    EXPECT_EQ(s.tape().back(), "= " + FormatNumber(1e308, "#0.00"));
}

TEST(Operators, OperatorAfterGrandTotalWaitsForANumber) {
    Session s;
    s.keys("5+3=G");
    const Lines before = s.tape();
    for (const char* key : {"+", "-", "*", "/"}) s.keys(key);
    EXPECT_EQ(s.tape(), before);
    s.keys("=");  // equals still runs: the zero entry stops it without a line
    EXPECT_EQ(s.tape(), before);
}

TEST(Operators, ZeroTotalStartsNextCalculationWithoutGrandTotal) {
    Session s;
    s.keys("5*=4");
    EXPECT_EQ(s.st().dblGrandTotal, 0);
    EXPECT_EQ(s.view.grandTotal, "");
    EXPECT_EQ(s.view.result, "4.");
}

TEST(Operators, SecondEqualsAddsTheNegatedTotalAfterSignKey) {
    Session s;
    s.keys("12+3={neg}=");
    EXPECT_EQ(s.st().dblGrandTotal, -15);
    EXPECT_EQ(s.view.grandTotal, "-15.00 ");
}

TEST(Operators, HalfIsZeroForTheZeroTotalRule) {
    // After a total of 0, the first number of the next calculation becomes
    // the total at once when it rounds to a whole number other than 0; 0.5
    // rounds to the even 0 and goes the ordinary way. Both are written once.
    for (const auto& [number, operand] : {std::pair{"0.5", 0.5}, std::pair{"0.6", 0.0}}) {
        Session s;
        s.keys(std::string("5-5=") + number + "+");
        EXPECT_EQ(s.st().dblTotal, std::stod(number)) << number;
        EXPECT_EQ(s.st().dblOperand, operand) << number;
        EXPECT_EQ(s.tape(), (Lines{"+ 5.00", M + " 5.00", SEP, "+ " + std::string(number) + "0"}))
            << number;
    }
}

TEST(Operators, ZeroTotalRuleWaitsForAShownTotal) {
    // A running total of 0 in the middle of a calculation, or after "&C"
    // dropped one that had no total, is an ordinary value.
    Session s;
    s.keys("8+C5+3=");
    EXPECT_EQ(s.tape(), (Lines{"+ 8.00", SEP, "+ 5.00", "+ 3.00", "= 8.00"}));
    s.keys("C8+C5+3=");
    EXPECT_EQ(s.tape().back(), "= 8.00");
    EXPECT_EQ(s.tape()[s.tape().size() - 3], "+ 5.00");
}

}  // namespace
}  // namespace tallyroll::test
