// Keyboard routing and focus parking through real key and mouse events.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "WindowHarness.h"

namespace tallyroll {
namespace {

struct Click {
    const char* name;
    int index = -1;
};

struct TypingRow {
    const char* name;
    const char* keys;
    std::vector<Click> clicks;  // the same calculation with the mouse
};

class TypingMatchesClicking : public WindowHarness,
                              public ::testing::WithParamInterface<TypingRow> {};

TEST_P(TypingMatchesClicking, SameDisplayAndTape) {
    const TypingRow& row = GetParam();
    type(QString::fromLatin1(row.keys));
    const std::string typedDisplay = display();
    const std::vector<std::string> typedTape = tape();
    EXPECT_EQ(focus(), "picSetFocus");

    open({});
    for (const Click& c : row.clicks) click(c.name, c.index);
    EXPECT_EQ(display(), typedDisplay);
    EXPECT_EQ(tape(), typedTape);
    EXPECT_EQ(focus(), "picSetFocus");
}

const TypingRow kTypingRows[] = {
    {"SumWithEnter",
     "12+3\r",
     {{"cmdNumber", 1},
      {"cmdNumber", 2},
      {"cmdOperator", 1},
      {"cmdNumber", 3},
      {"cmdOperator", 4}}},
    {"DifferenceWithEquals",
     "9-4=",
     {{"cmdNumber", 9}, {"cmdOperator", 3}, {"cmdNumber", 4}, {"cmdOperator", 4}}},
    {"ProductOfDecimal",
     "1.5*4\r",
     {{"cmdNumber", 1},
      {"cmdDecimal"},
      {"cmdNumber", 5},
      {"cmdOperator", 2},
      {"cmdNumber", 4},
      {"cmdOperator", 4}}},
    {"Percent",
     "200+10%",
     {{"cmdNumber", 2},
      {"cmdNumber", 0},
      {"cmdNumber", 0},
      {"cmdOperator", 1},
      {"cmdNumber", 1},
      {"cmdNumber", 0},
      {"cmdFunction", 1}}},
    {"ClearEntryAndBackspace",
     "7e34\b+",
     {{"cmdNumber", 7},
      {"cmdCancelEntry"},
      {"cmdNumber", 3},
      {"cmdNumber", 4},
      {"cmdBackspace"},
      {"cmdOperator", 1}}},
    {"EscapeCancels",
     "4+5\x1b",
     {{"cmdNumber", 4}, {"cmdOperator", 1}, {"cmdNumber", 5}, {"cmdCancel"}}},
    {"GrandTotalAndClear",
     "6+\r\rgl",
     {{"cmdNumber", 6},
      {"cmdOperator", 1},
      {"cmdOperator", 4},
      {"cmdOperator", 4},
      {"cmdGrandTotal"},
      {"cmdClear"}}},
};

INSTANTIATE_TEST_SUITE_P(Keys, TypingMatchesClicking, ::testing::ValuesIn(kTypingRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WindowHarness, TypedSumShowsTotalAndTape) {
    EXPECT_EQ(focus(), "picSetFocus");
    type("12+3\r");
    EXPECT_EQ(display(), "15.00");
    EXPECT_EQ(qobject_cast<QLabel*>(control("lblOperator"))->text(), "=");
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 12.00", "+ 3.00", "= 15.00"}));
    EXPECT_EQ(focus(), "picSetFocus");
}

class FocusParking : public WindowHarness, public ::testing::WithParamInterface<Click> {};

TEST_P(FocusParking, ClickHandsFocusBackToFocusHolder) {
    type("8+2");  // something for every key to work on
    click(GetParam().name, GetParam().index);
    EXPECT_EQ(focus(), "picSetFocus");
}

const Click kParkingButtons[] = {
    {"cmdNumber", 5},   {"cmdOperator", 1}, {"cmdOperator", 4}, {"cmdDecimal"},   {"cmdBackspace"},
    {"cmdCancelEntry"}, {"cmdNegitive"},    {"cmdFunction", 1}, {"cmdMemory", 0}, {"cmdMemory", 3},
    {"cmdCancel"},      {"cmdClear"},       {"cmdPrint"},
};

INSTANTIATE_TEST_SUITE_P(Buttons, FocusParking, ::testing::ValuesIn(kParkingButtons),
                         [](const auto& row) {
                             const Click& c = row.param;
                             return std::string(c.name) +
                                    (c.index < 0 ? "" : std::to_string(c.index));
                         });

TEST_F(WindowHarness, KeyOnFocusedButtonIsNotRouted) {
    type("5");
    key(Qt::Key_Tab);  // tab index 1 follows the focus holder
    ASSERT_EQ(focus(), "cmdBackspace");
    type("7+");
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_EQ(display(), "5.");
    EXPECT_TRUE(tape().empty());
    EXPECT_EQ(programEnds, 0);

    key(Qt::Key_Space);  // the space bar clicks the focused button
    EXPECT_EQ(display(), ".");
    EXPECT_EQ(focus(), "picSetFocus");
}

TEST_F(WindowHarness, TapeListRoutesCharactersToCalculator) {
    type("4+");
    control("lstTape")->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(focus(), "lstTape");
    type("1");
    EXPECT_EQ(display(), "1.");
    EXPECT_EQ(window->calculator().tape().selected(), 0);  // no jump to a line by typing
}

TEST_F(WindowHarness, WindowRoutesCharactersWhenNothingHasFocus) {
    control("picSetFocus")->clearFocus();
    ASSERT_EQ(window->focusWidget(), nullptr);
    QTest::keyClick(window.get(), '9');
    EXPECT_EQ(display(), "9.");
}

TEST_F(WindowHarness, DecimalListKeepsItsKeysAndParksFocus) {
    auto* list = qobject_cast<QComboBox*>(control("cboDecPlace"));
    list->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_EQ(window->calculator().state().strFormat, "#0.000");
    EXPECT_EQ(focus(), "picSetFocus");
}

// ---- Tab order ------------------------------------------------------------------

// Where Tab and Shift+Tab go from the focus holder, round the window once.
TEST_F(WindowHarness, TabGoesRowByRowThenToTheListAndTheTape) {
    const std::vector<std::string> order = {
        "cmdBackspace",   "cmdCancelEntry", "cmdCancel",      "cmdMemory(3)",   "cmdNumber(7)",
        "cmdNumber(8)",   "cmdNumber(9)",   "cmdOperator(0)", "cmdFunction(0)", "cmdMemory(2)",
        "cmdNumber(4)",   "cmdNumber(5)",   "cmdNumber(6)",   "cmdOperator(2)", "cmdFunction(1)",
        "cmdMemory(1)",   "cmdNumber(1)",   "cmdNumber(2)",   "cmdNumber(3)",   "cmdOperator(3)",
        "cmdFunction(2)", "cmdMemory(0)",   "cmdNumber(0)",   "cmdNegitive",    "cmdDecimal",
        "cmdOperator(1)", "cmdOperator(4)", "cmdGrandTotal",  "cmdClose",       "cmdPrint",
        "cmdClear",       "cboDecPlace",    "lstTape",        "picSetFocus"};
    std::vector<std::string> forward;
    for (std::size_t i = 0; i < order.size(); ++i) {
        key(Qt::Key_Tab);
        forward.push_back(focus());
    }
    EXPECT_EQ(forward, order);
    std::vector<std::string> backward;
    for (std::size_t i = 0; i < order.size(); ++i) {
        key(Qt::Key_Backtab);
        backward.push_back(focus());
    }
    std::vector<std::string> reversed(order.rbegin() + 1, order.rend());
    reversed.push_back("picSetFocus");
    EXPECT_EQ(backward, reversed);
}

// While the change panel is open, Tab goes round its controls only, and
// Escape on any of them cancels the change.
TEST_F(WindowHarness, ChangePanelHoldsTabAndEscape) {
    const std::vector<std::string> round = {"cboType", "cmdSaveChange", "cmdCancelChange",
                                            "txtChangeTo"};
    type(QStringLiteral("12+3="));
    doubleClickLine(0);
    ASSERT_EQ(focus(), "txtChangeTo");
    std::vector<std::string> forward, backward;
    for (std::size_t i = 0; i < round.size(); ++i) {
        key(Qt::Key_Tab);
        forward.push_back(focus());
    }
    EXPECT_EQ(forward, round);
    for (std::size_t i = 0; i < round.size(); ++i) {
        key(Qt::Key_Backtab);
        backward.push_back(focus());
    }
    EXPECT_EQ(backward, (std::vector<std::string>{"cmdCancelChange", "cmdSaveChange", "cboType",
                                                  "txtChangeTo"}));
    for (const std::string& name : round) {
        SCOPED_TRACE(name);
        doubleClickLine(1);
        key(Qt::Key_Tab);  // from the text box round to the control
        while (focus() != name) key(Qt::Key_Tab);
        key(Qt::Key_Escape);
        EXPECT_FALSE(control("fraChangeTape")->isVisible());
        EXPECT_EQ(focus(), "picSetFocus");
        EXPECT_EQ(display(), "15.00");  // not the calculator's cancel
    }
    // The panel does not hold the mouse: the keypad still works.
    doubleClickLine(0);
    click("cmdNumber", 4);
    EXPECT_EQ(display(), "4.");
    EXPECT_TRUE(control("fraChangeTape")->isVisible());
}

// A click on a key whose handler hands the focus back to the holder leaves
// it there all along; the grand total key, which does so only when it runs
// equals, takes the focus as a click does.
TEST_F(WindowHarness, ClicksMoveTheFocusOnlyWhereHandlersLeaveIt) {
    int moves = 0;
    QObject counting;  // the connection ends with the test
    QObject::connect(qApp, &QApplication::focusChanged, &counting, [&moves] { ++moves; });
    type(QStringLiteral("5+5=="));
    click("cmdNumber", 7);
    click("cmdOperator", 1);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(focus(), "picSetFocus");
    type(QStringLiteral("=="));
    click("cmdGrandTotal");  // after "=": writes the grand total, runs equals
    EXPECT_EQ(focus(), "picSetFocus");
    click("cmdGrandTotal");  // right after a grand total: no equals
    EXPECT_EQ(focus(), "cmdGrandTotal");
    const std::string shown = display();
    type(QStringLiteral("7"));  // a key on a focused button is not routed
    EXPECT_EQ(display(), shown);
}

}  // namespace
}  // namespace tallyroll
