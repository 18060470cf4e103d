// The invariant checks themselves: each one accepts what the calculator may
// show or write and catches the kinds of wrong text and state it must not.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tape/TapeLine.h"
#include "tests/support/HeadlessWindow.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

const std::string kM(kMinus);

// Test names from the rows' own names.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

struct TextCase {
    const char* name;
    std::string text;
    bool accepted;
};

class ForbiddenText : public testing::TestWithParam<TextCase> {};
TEST_P(ForbiddenText, IsFound) {
    EXPECT_EQ(HasForbiddenText(GetParam().text), !GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, ForbiddenText,
    testing::Values(TextCase{"Inf", "inf", false}, TextCase{"NaNUpper", "NaN", false},
                    TextCase{"MinusInf", "= -inf", false}, TextCase{"Exponent", "1e5", false},
                    TextCase{"ExponentAfterPoint", "2.E-3", false},
                    TextCase{"SignedExponent", "+ 1.5e+10", false},
                    TextCase{"ErrorReport",
                             "Error occured: 5\r\nDescription: Invalid procedure call "
                             "or argument\r\nModule: frmCalculator\r\nFunction: "
                             "cmdFunction_Click0",
                             true},
                    TextCase{"DivideMessage", "Divide by zero Error", true},
                    TextCase{"SubTotal", "= 15.00 sub total", true},
                    TextCase{"LetterAfterDigitNoExponent", "5e", true}),
    CaseName<TextCase>);

class FormattedNumber : public testing::TestWithParam<TextCase> {};
TEST_P(FormattedNumber, Grammar) {
    EXPECT_EQ(IsFormattedNumber(GetParam().text), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, FormattedNumber,
    testing::Values(TextCase{"TwoDecimals", "0.00", true}, TextCase{"Negative", "-5.00", true},
                    TextCase{"NoDecimals", "5.", true}, TextCase{"SixDecimals", "0.000001", true},
                    TextCase{"Huge", "100000000000000000000.00", true},
                    TextCase{"FifteenDigitsThenZeros", "123456789012345000.00", true},
                    TextCase{"LeadingZero", "05.00", false},
                    TextCase{"NegativeZero", "-0.00", false}, TextCase{"NoWholeDigit", ".5", false},
                    TextCase{"NoPoint", "5", false}, TextCase{"SevenDecimals", "1.2345678", false},
                    TextCase{"Exponent", "1e5", false},
                    TextCase{"SixteenDigits", "1234567890123456.00", false},
                    TextCase{"PlusSign", "+5.00", false},
                    TextCase{"TrailingBlank", "5.00 ", false}),
    CaseName<TextCase>);

class GeneralNumber : public testing::TestWithParam<TextCase> {};
TEST_P(GeneralNumber, Grammar) {
    EXPECT_EQ(IsGeneralNumber(GetParam().text), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, GeneralNumber,
    testing::Values(TextCase{"Decimal", "12.5", true}, TextCase{"Whole", "7", true},
                    TextCase{"NegativeFraction", "-0.25", true}, TextCase{"Zero", "0", true},
                    TextCase{"Huge", "100000000000000000000", true},
                    TextCase{"TrailingZero", "12.50", false},
                    TextCase{"TrailingPoint", "7.", false}, TextCase{"NegativeZero", "-0", false},
                    TextCase{"LeadingZero", "05", false}, TextCase{"Exponent", "1E+20", false},
                    TextCase{"SixteenDigits", "0.1234567890123456", false}),
    CaseName<TextCase>);

struct LineCase {
    const char* name;
    std::string line;
    bool userTypes;
    bool accepted;
};

class TapeLineGrammar : public testing::TestWithParam<LineCase> {};
TEST_P(TapeLineGrammar, Check) {
    const LineCase& c = GetParam();
    EXPECT_EQ(CheckTapeLine(c.line, c.userTypes).empty(), c.accepted)
        << CheckTapeLine(c.line, c.userTypes);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, TapeLineGrammar,
    testing::Values(
        LineCase{"Add", "+ 12.00", false, true}, LineCase{"Subtract", kM + " 2.50", false, true},
        LineCase{"MultiplyNegative", "x -2.00", false, true},
        LineCase{"Divide", "/ 4.00", false, true}, LineCase{"Total", "= 15.00", false, true},
        LineCase{"SubTotal", "= 15.00 sub total", false, true},
        LineCase{"GrandTotal", "G 1234.50", false, true},
        LineCase{"Separator", std::string(kSeparator), false, true},
        LineCase{"Reciprocal", "1/x 5.00", false, true},
        LineCase{"ReopenedReciprocal", "1 0.00", false, true},
        LineCase{"GeneralForm", "+ 12", false, true},
        LineCase{"HyphenOperator", "- 5.00", false, false},
        LineCase{"SubTotalTwice", "= 15.00 sub total sub total", false, false},
        LineCase{"ShortSeparator", "**********", false, false},
        LineCase{"Infinite", "+ inf", false, false},
        LineCase{"ExponentNumber", "+ 1e+20", false, false}, LineCase{"BareG", "G", false, false},
        LineCase{"Empty", "", false, false}, LineCase{"NoBlank", "x5.00", false, false},
        LineCase{"NegativeZeroTotal", "= -0.00", false, false},
        LineCase{"TrailingBlank", "+ 12.00 ", false, false},
        LineCase{"UserType", "abc 5.00", true, true},
        LineCase{"UserTypeStrict", "abc 5.00", false, false},
        LineCase{"UserTypeNoNumber", "abc", true, false},
        LineCase{"UserTypeInfinite", "abc inf", true, false}),
    CaseName<LineCase>);

class DisplayForm : public testing::TestWithParam<TextCase> {};
TEST_P(DisplayForm, Check) {
    EXPECT_EQ(CheckDisplay(GetParam().text).empty(), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Displays, DisplayForm,
    testing::Values(TextCase{"Empty", ".", true}, TextCase{"EmptyNegative", "-.", true},
                    TextCase{"ClearEntry", "0", true}, TextCase{"LeadingZero", "05.", true},
                    TextCase{"TypedNegative", "-123.", true},
                    TextCase{"TypedDecimals", "12.503", true}, TextCase{"OnlyDecimals", ".5", true},
                    TextCase{"NegativeDecimals", "-.5", true}, TextCase{"General", "12.5", true},
                    TextCase{"GeneralWhole", "7", true}, TextCase{"DoubleZero", "00", false},
                    TextCase{"Exponent", "1e5", false}, TextCase{"Infinite", "inf", false},
                    TextCase{"Blank", "", false}, TextCase{"TwoPoints", "5.5.", false},
                    TextCase{"TwoSigns", "--5.", false}, TextCase{"SignThenBlank", "- 5.", false}),
    CaseName<TextCase>);

struct ShowsCase {
    const char* name;
    std::string display;
    double entry;
    bool accepted;
};

class DisplayShowsEntry : public testing::TestWithParam<ShowsCase> {};
TEST_P(DisplayShowsEntry, Check) {
    EXPECT_EQ(CheckDisplayShowsEntry(GetParam().display, GetParam().entry).empty(),
              GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(Displays, DisplayShowsEntry,
                         testing::Values(ShowsCase{"Typed", "12.", 12, true},
                                         ShowsCase{"RoundedResult", "0.33", 1 / 3.0, true},
                                         ShowsCase{"OlderPattern", "0.3333", 1 / 3.0, true},
                                         ShowsCase{"GeneralForm", "12.5", 12.5, true},
                                         ShowsCase{"EmptyNegative", "-.", 0, true},
                                         ShowsCase{"ClearEntry", "0", 0, true},
                                         ShowsCase{"OtherValue", "0.33", 0.5, false},
                                         ShowsCase{"StaleEntry", ".", 7, false}),
                         CaseName<ShowsCase>);

struct StateCase {
    const char* name;
    void (*spoil)(CalcState&);
};

class StateCheck : public testing::TestWithParam<StateCase> {};
TEST_P(StateCheck, CatchesSpoiledMember) {
    CalcState st;
    st.strLastInput = "NUM";
    st.strOperator = "+";
    st.strFormat = "#0.00";
    ASSERT_EQ(CheckState(st), "");
    GetParam().spoil(st);
    EXPECT_NE(CheckState(st), "");
}
INSTANTIATE_TEST_SUITE_P(
    Members, StateCheck,
    testing::Values(
        StateCase{"InfiniteTotal",
                  [](CalcState& s) { s.dblTotal = std::numeric_limits<double>::infinity(); }},
        StateCase{"NanEntry", [](CalcState& s) { s.dblEntry = std::nan(""); }},
        StateCase{"InfiniteMemory",
                  [](CalcState& s) { s.dblMemory = -std::numeric_limits<double>::infinity(); }},
        StateCase{"CountThree", [](CalcState& s) { s.bytNumberCount = 3; }},
        StateCase{"UnknownInput", [](CalcState& s) { s.strLastInput = "NUMBER"; }},
        StateCase{"HyphenOperator", [](CalcState& s) { s.strOperator = "-"; }},
        StateCase{"SevenDecimals", [](CalcState& s) { s.strFormat = "#0.0000000"; }},
        StateCase{"OddPattern", [](CalcState& s) { s.strFormat = "0.00"; }}),
    CaseName<StateCase>);

TEST(CaptionsCheck, MemoryIndicatorFollowsTheMemory) {
    CalcState st;
    Captions cap;
    cap.lblResult = ".";
    st.dblMemory = 5;
    EXPECT_NE(CheckCaptions(cap, st), "");
    cap.lblMemoryVisible = true;
    EXPECT_EQ(CheckCaptions(cap, st), "");
}

TEST(CaptionsCheck, GrandTotalLabelIsANumberWithItsBlank) {
    CalcState st;
    Captions cap;
    cap.lblResult = ".";
    for (const char* good : {"", "15.00 ", "15.00"}) {
        cap.lblGrandTotal = good;
        EXPECT_EQ(CheckCaptions(cap, st), "") << good;
    }
    for (const char* bad : {"inf ", "15.00  ", "1E+20 "}) {
        cap.lblGrandTotal = bad;
        EXPECT_NE(CheckCaptions(cap, st), "") << bad;
    }
}

TEST(TapeCheck, SelectionMustBeALine) {
    TapeList tape;
    AddToTape(tape, "+ 5.00");
    EXPECT_EQ(CheckTape(tape), "");
    tape.clear();
    EXPECT_EQ(CheckTape(tape), "");
    tape.add("+ 5.00");
    EXPECT_EQ(CheckTape(tape), "");  // nothing selected is fine
}

using Window = test::HeadlessWindow;

TEST(CheckInvariants, HoldThroughOrdinaryCalculations) {
    Window w;
    EXPECT_EQ(CheckInvariants(w.calc, w.view), "");
    for (const char* keys : {"12+3=", "=", "7*2=", "G", "5/0=", "cc", "9-4+", "l"}) {
        w.keys(keys);
        EXPECT_EQ(CheckInvariants(w.calc, w.view), "") << "after " << keys;
    }
}

TEST(CheckInvariants, CatchAWindowThatDiffersFromTheCalculation) {
    Window w;
    w.keys("12+");
    w.view.result = "13.00";
    EXPECT_NE(CheckInvariants(w.calc, w.view), "");
}

TEST(CheckInvariants, CatchAWindowLeftDisabled) {
    Window w;
    w.view.enabled = false;
    EXPECT_NE(CheckInvariants(w.calc, w.view), "");
    w.view.enabled = true;
    w.view.busy = true;
    EXPECT_NE(CheckInvariants(w.calc, w.view), "");
}

TEST(CheckMessages, TitlesAndTexts) {
    SessionLog log;
    log.messages.push_back({"Calculator", "Divide by zero Error", MessageIcon::Warning});
    log.messages.push_back(
        {"Calculator - ERROR", "Error occured: 6\r\nDescription: Overflow", MessageIcon::Critical});
    EXPECT_EQ(CheckMessages(log), "");
    log.messages.push_back({"Calculator", "Result: inf", MessageIcon::Warning});
    EXPECT_NE(CheckMessages(log), "");
    log.messages.back() = {"Error", "Overflow Error", MessageIcon::Warning};
    EXPECT_NE(CheckMessages(log), "");
}

TEST(CheckRecalculation, HoldsForTheTotalBeforeAGrandTotalLayout) {
    TapeList tape;
    for (const char* line : {"+ 5.00", "+ 10.00", "= 15.00", "G 15.00", "***********************"})
        tape.add(line);
    EXPECT_EQ(CheckRecalculation(tape, "#0.00"), "");
}

}  // namespace
}  // namespace tallyroll
