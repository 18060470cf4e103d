// Faults the fuzz targets found, each pinned by the sequence that showed it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tests/support/HeadlessWindow.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

using Window = test::HeadlessWindow;

// 3 = gives the total line; "%" turns the entry into 0.09; "/" applies the
// pending "=" and shows a total again; "+" then marked the same line a second
// time: "= 3.00 sub total sub total".
TEST(Regression, ATotalIsMarkedAsSubTotalOnce) {
    Window w;
    w.keys("3=");
    w.calc.cmdFunction_Click(1);
    w.keys("/+");
    EXPECT_EQ(w.tape(), (std::vector<std::string>{"= 3.00 sub total", "/ 0.09"}));
    EXPECT_EQ(CheckInvariants(w.calc, w.view), "");
}

// After "C&E" the display is "0" without a point; a memory key keeps it and
// makes the next digit continue it, so "." then 5 showed "05" and read 5.
TEST(Regression, DecimalsAfterClearEntryAndAMemoryKey) {
    struct Case {
        const char* name;
        int memoryKey;
        std::string keys, display;
        double entry;
    };
    for (const Case& c : {Case{"MC", 3, ".5", "0.5", 0.5}, Case{"M+", 0, ".05", "0.05", 0.05},
                          Case{"MCNoPoint", 3, "5", "0", 0}}) {
        Window w;
        w.keys("e");
        w.calc.cmdMemory_Click(static_cast<std::int16_t>(c.memoryKey));
        w.keys(c.keys);
        EXPECT_EQ(w.calc.captions().lblResult, c.display) << c.name;
        EXPECT_EQ(w.calc.state().dblEntry, c.entry) << c.name;
        EXPECT_EQ(CheckInvariants(w.calc, w.view), "") << c.name;
    }
}

// A start value shown in the general form (no pattern chosen yet) takes its
// decimals after a point, not as more whole digits.
TEST(Regression, DecimalsAfterAGeneralFormStartValue) {
    SessionLog log;
    HeadlessView view(&log);
    Calculator calc(view);
    calc.SetStartValue(120000);  // 12 in currency units
    ASSERT_EQ(calc.captions().lblResult, "12");
    calc.cmdNumber_Click(3);
    EXPECT_EQ(calc.captions().lblResult, "12.3");
    EXPECT_EQ(calc.state().dblEntry, 12.3);
}

}  // namespace
}  // namespace tallyroll
