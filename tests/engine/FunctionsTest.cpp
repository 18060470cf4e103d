// Square root, percent, reciprocal and the memory keys.
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {
using test::PrintTo;

struct FunctionRow {
    const char* name;
    const char* keys;
    const char* display;
};

const FunctionRow kFunctionRows[] = {
    {"square_root", "16{sqr}", "4.00"},
    {"reciprocal", "4{inv}", "0.25"},
    {"percent_of_running_total", "200+10{pct}", "20.00"},
    {"percent_key_acts_as_button", "200+10%", "20.00"},
    {"percent_of_zero_total", "10%", "0.00"},
    {"digit_after_function_joins_decimals", "4{sqr}3", "2.003"},
    {"memory_recall_of_empty_memory", "7{MR}", "0.00"},
};

class FunctionTest : public testing::TestWithParam<FunctionRow> {};

TEST_P(FunctionTest, Display) {
    Session s;
    s.keys(GetParam().keys);
    EXPECT_EQ(s.view.result, GetParam().display);
    EXPECT_TRUE(s.log.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, FunctionTest, testing::ValuesIn(kFunctionRows), RowName());

struct FailingRow {
    const char* name;
    std::string setup;
    const char* action;
    const char* firstLine;  // of the error report
    const char* lastLine;
};

TEST(Functions, FailuresAreReportedAndChangeNothing) {
    const std::string big = "1" + std::string(308, '0');
    const FailingRow rows[] = {
        {"root_of_negative", "-9", "{sqr}", "Error occured: 5", "Function: cmdFunction_Click0"},
        {"reciprocal_of_zero", "0", "{inv}", "Error occured: 11", "Function: cmdFunction_Click2"},
        {"percent_overflow", big + "+" + big, "{pct}", "Error occured: 6",
         "Function: cmdFunction_Click1"},
        {"percent_key_overflow", big + "+" + big, "%", "Error occured: 6",
         "Function: cmdFunction_Click1"},
        {"reciprocal_overflow", "." + std::string(320, '0') + "1", "{inv}", "Error occured: 6",
         "Function: cmdFunction_Click2"},
    };
    for (const FailingRow& row : rows) {
        SCOPED_TRACE(row.name);
        Session s;
        s.keys(row.setup);
        const std::string display = s.view.result;
        const CalcState before = s.st();
        s.keys(row.action);
        ASSERT_EQ(s.log.messages.size(), 1u);
        const auto& m = s.log.messages[0];
        EXPECT_EQ(m.title, "Calculator - ERROR");
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.text.substr(0, m.text.find('\r')), row.firstLine);
        EXPECT_EQ(m.text.substr(m.text.rfind('\n') + 1), row.lastLine);
        EXPECT_EQ(s.view.result, display);
        EXPECT_EQ(s.st().dblEntry, before.dblEntry);
        EXPECT_EQ(s.st().strLastInput, before.strLastInput);
        EXPECT_EQ(s.st().bytNumberCount, before.bytNumberCount);
        EXPECT_EQ(s.view.focus, "picSetFocus");
    }
}

TEST(Functions, OperatorUsesTheTransformedEntry) {
    Session s;
    s.keys("9{sqr}+1=");
    EXPECT_EQ(s.tape(), (Lines{"+ 3.00", "+ 1.00", "= 4.00"}));
}

TEST(Memory, IndicatorFollowsTheValue) {
    Session s;
    s.keys("5{M+}");
    EXPECT_TRUE(s.view.memoryVisible);
    EXPECT_EQ(s.st().dblMemory, 5);
    EXPECT_EQ(s.view.result, "5.");  // M+ changes neither entry nor display
    s.keys("{M-}");
    EXPECT_FALSE(s.view.memoryVisible);
    EXPECT_EQ(s.st().dblMemory, 0);
    s.keys("{M+}{MC}");
    EXPECT_FALSE(s.view.memoryVisible);
    EXPECT_EQ(s.view.result, "5.");
}

TEST(Memory, SurvivesCancelClearGrandTotalAndStartValue) {
    Session s;
    s.keys("7{M+}CCLE2+3=G");
    s.calc.SetStartValue(10000);
    EXPECT_EQ(s.st().dblMemory, 7);
    EXPECT_TRUE(s.view.memoryVisible);
    s.keys("{MR}");
    EXPECT_EQ(s.view.result, "7.00");
    EXPECT_EQ(s.st().dblEntry, 7);
}

TEST(Memory, OverflowKeepsThePreviousValue) {
    Session s;
    s.keys("1" + std::string(308, '0') + "{M+}{M+}");
    EXPECT_EQ(s.st().dblMemory, 1e308);
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_NE(s.log.messages[0].text.find("Function: cmdMemory_Click0"), std::string::npos);
    EXPECT_NE(s.log.messages[0].text.find("Description: Overflow"), std::string::npos);
}

}  // namespace
}  // namespace tallyroll::test
