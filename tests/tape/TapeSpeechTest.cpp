// The words a screen reader is told: tape lines, the operator label, the
// display, and the sentence one key leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "tape/TapeLine.h"
#include "tape/TapeSpeech.h"

namespace tallyroll {
namespace {

TEST(TapeSpeech, EveryKindOfLineInWords) {
    const std::string minus(kMinus);
    struct Row {
        std::string line;
        const char* spoken;
    };
    const Row rows[] = {
        {"+ 3.00", "plus 3.00"},
        {minus + " 2.50", "minus 2.50"},
        {"- 2.50", "minus 2.50"},  // a hyphen as the operator, as a tape file may have it
        {"x 4.00", "times 4.00"},
        {"/ 2.00", "divided by 2.00"},
        {"+ -7.25", "plus -7.25"},
        {"= 15.00", "total 15.00"},
        {"= 8.00 sub total", "sub total 8.00"},
        {"G 30.00", "grand total 30.00"},
        {std::string(kSeparator), "end of calculation"},
        {"1/x 4.00", "reciprocal 4.00"},
        {"1 0.00", "1 0.00"},  // not a kind the tape knows: as it stands
        {"", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(SpokenLine(r.line), r.spoken) << r.line;
}

TEST(TapeSpeech, OperatorLabelAndDisplay) {
    EXPECT_EQ(SpokenOperator(kMinus), "minus");
    EXPECT_EQ(SpokenOperator("x"), "times");
    EXPECT_EQ(SpokenOperator("="), "equals");
    EXPECT_EQ(SpokenOperator(""), "");
    EXPECT_EQ(SpokenDisplay("."), "0");
    EXPECT_EQ(SpokenDisplay("-."), "minus");
    EXPECT_EQ(SpokenDisplay("Divide by zero Error"), "Divide by zero Error");
}

TEST(TapeSpeech, OneSentencePerKey) {
    using A = Announcement;
    struct Row {
        const char* name;
        A announcement;
        const char* sentence;
    };
    const std::string sep(kSeparator);
    const Row rows[] = {
        {"nothing", A{}, ""},
        {"digit", A{.display = "12."}, "12."},
        {"operator", A{.lines = {"+ 12.00"}}, "plus 12.00"},
        {"equals", A{.display = "15.00", .lines = {"+ 3.00", "= 15.00"}},
         "15.00, plus 3.00, total 15.00"},
        {"closing", A{.lines = {sep}, .grandTotal = "15.00 "},
         "end of calculation, grand total 15.00"},
        {"grand total label emptied",
         A{.display = "30.00", .lines = {"G 30.00", sep}, .grandTotal = ""},
         "30.00, grand total 30.00, end of calculation"},
        {"many lines", A{.lines = {"+ 1.00", "+ 2.00", "+ 3.00", "+ 4.00", "+ 5.00", "+ 6.00"}},
         "plus 1.00, plus 2.00, plus 3.00, plus 4.00, and 2 more lines"},
        {"memory", A{.memoryInUse = true}, "memory in use"},
        {"memory cleared", A{.memoryInUse = false}, "memory empty"},
        {"selection", A{.selection = A::Selection{1, 3, "+ 3.00"}}, "line 2 of 3, plus 3.00"},
        {"empty tape", A{.selection = A::Selection{-1, 0, ""}}, "tape empty"},
        {"no line selected", A{.selection = A::Selection{-1, 3, ""}}, ""},
        {"cleared", A{.display = ".", .tapeEmptied = true, .selection = A::Selection{-1, 0, ""}},
         "0, tape empty"},
        {"refused", A{.notes = {"this line cannot be changed"}}, "this line cannot be changed"},
    };
    for (const Row& r : rows) EXPECT_EQ(Compose(r.announcement), r.sentence) << r.name;
}

}  // namespace
}  // namespace tallyroll
