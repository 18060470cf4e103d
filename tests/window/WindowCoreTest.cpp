// The key table, the error report's layout and the window's placement.
#include "window/ErrorReportText.h"
#include "window/Placement.h"

#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {

TEST(KeyTable, TypingGivesTheSameTapeAsClicking) {
    Session typed, clicked;
    typed.keys("12+3\r");
    for (int d : {1, 2}) clicked.calc.cmdNumber_Click(static_cast<std::int16_t>(d));
    clicked.calc.cmdOperator_Click(1);
    clicked.calc.cmdNumber_Click(3);
    clicked.calc.cmdOperator_Click(4);
    EXPECT_EQ(typed.tape(), clicked.tape());
    EXPECT_EQ(typed.view.result, clicked.view.result);
}

TEST(KeyTable, KeysReachTheirHandlers) {
    struct Row {
        const char* name;
        const char* keys;
        const char* display;
        Lines tape;
    };
    const Row rows[] = {
        {"enter_and_equals_agree", "2+3=", "5.00", {"+ 2.00", "+ 3.00", "= 5.00"}},
        {"star_multiplies", "2*3\r", "6.00", {"+ 2.00", "x 3.00", "= 6.00"}},
        {"slash_divides", "6/3\r", "2.00", {"+ 6.00", "/ 3.00", "= 2.00"}},
        {"minus_subtracts", "6-3\r", "3.00", {"+ 6.00", M + " 3.00", "= 3.00"}},
        {"lower_e_clears_entry", "6e", "0", {}},
        {"lower_l_clears_tape", "6+l", ".", {}},
        {"lower_g_grand_total", "2+3=g", "5.00", {"+ 2.00", "+ 3.00", "= 5.00", "G 5.00", SEP}},
        {"backspace_code", "12\b", "1.", {}},
        {"unknown_keys_do_nothing", "q ,#&!?", ".", {}},
    };
    for (const Row& row : rows) {
        Session s;
        s.keys(row.keys);  // also checks every key is consumed
        EXPECT_EQ(s.view.result, row.display) << row.name;
        EXPECT_EQ(s.tape(), row.tape) << row.name;
    }
}

TEST(KeyTable, ExitKeysEndTheProgramAndSaveKeysHide) {
    for (const char* key : {"x", "X"}) {
        Session s;
        s.keys(key);
        EXPECT_TRUE(s.view.ended) << key;
    }
    for (const char* key : {"s", "S"}) {
        Session s;
        s.keys(key);
        EXPECT_TRUE(s.view.hidden) << key;
        EXPECT_FALSE(s.view.ended) << key;
    }
}

TEST(KeyTable, LettersMatchInBothCasesOnly) {
    for (const KeyBinding& key : KeyTable()) {
        if (key.code >= 'A' && key.code <= 'Z') {
            const auto lower = static_cast<std::int16_t>(key.code + 32);
            bool found = false;
            for (const KeyBinding& other : KeyTable())
                found = found || (other.code == lower && other.plain == key.plain);
            EXPECT_TRUE(found) << static_cast<char>(key.code);
        }
    }
}

TEST(ErrorReport, LaysOutItsLines) {
    struct Row {
        const char* name;
        ErrorReport report;
        const char* text;
    };
    const Row rows[] = {
        {"full",
         {true, "5", "Invalid procedure call or argument", "frmCalculator", "CheckKeyPress"},
         "Error occured: 5\r\nDescription: Invalid procedure call or argument\r\nModule: "
         "frmCalculator\r\nFunction: CheckKeyPress"},
        {"no_description",
         {true, "6", "", "frmCalculator", "StartNewTotal"},
         "Error occured: 6\r\nModule: frmCalculator\r\nFunction: StartNewTotal"},
        {"no_number", {true, "", "", "", ""}, "Error occured: \r\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(ErrorReportText(row.report), row.text) << row.name;
}

TEST(ErrorReport, NotShownWhenShowIsFalse) {
    Session s;
    s.calc.ReportError(false, "5", "x", "m", "f");
    EXPECT_TRUE(s.log.messages.empty());
    s.calc.ReportError(true, "5", "x", "m", "f");
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_EQ(s.log.messages[0].title, "Calculator - ERROR");
}

TEST(Placement, PlacesTheWindowInTheWorkArea) {
    struct Row {
        const char* name;
        WorkAreaPixels area;
        TwipsPoint expected;
    };
    const Row rows[] = {
        {"full_hd", {0, 0, 1920, 1040}, {11450, 3096}},
        {"small_screen_takes_absolute_value", {0, 0, 640, 452}, {1850, 54}},
        {"task_bar_on_top_raises_to_area_top", {0, 40, 640, 452}, {1850, 600}},
        {"too_short_keeps_bottom_edge", {0, 0, 640, 300}, {1850, -450}},
        {"left_edge", {1000, 0, 1200, 1040}, {15000, 3096}},
    };
    for (const Row& row : rows) {
        const TwipsPoint p = PositionWindow(row.area, 15, 15, 5900, 4950);
        EXPECT_EQ(p.left, row.expected.left) << row.name;
        EXPECT_EQ(p.top, row.expected.top) << row.name;
    }
    EXPECT_EQ(NearestEven(2.5), 2);
    EXPECT_EQ(NearestEven(3.5), 4);
    EXPECT_EQ(NearestEven(-2.5), -2);
}

}  // namespace
}  // namespace tallyroll::test
