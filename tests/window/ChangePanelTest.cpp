// The change panel through the real list, text box and type box.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "WindowHarness.h"
#include "tape/TapeLine.h"

namespace tallyroll {
namespace {

class ChangePanel : public WindowHarness {
  protected:
    void SetUp() override {
        WindowHarness::SetUp();
        type("12+3\r");
        doubleClickLine(0);
    }
    QLineEdit* changeTo() const { return qobject_cast<QLineEdit*>(control("txtChangeTo")); }
    QComboBox* changeType() const { return qobject_cast<QComboBox*>(control("cboType")); }
    bool panelOpen() const { return !control("fraChangeTape")->isHidden(); }
};

TEST_F(ChangePanel, DoubleClickOpensPanelForSelectedLine) {
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(qobject_cast<QLabel*>(control("lblChangeFrom"))->text(), "+ 12.00");
    EXPECT_EQ(changeType()->currentText(), "+");
    EXPECT_EQ(changeTo()->text(), "12.00");
    EXPECT_EQ(changeTo()->selectedText(), "12.00");
    EXPECT_EQ(focus(), "txtChangeTo");
    // In front of the keypad it covers.
    const QPoint middle = control("fraChangeTape")->geometry().center();
    const QWidget* top = window->childAt(middle);
    EXPECT_TRUE(top == control("fraChangeTape") || control("fraChangeTape")->isAncestorOf(top));
}

TEST_F(ChangePanel, TypedNumberAndEnterRewriteTheTape) {
    type("20\r");
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 20.00", "+ 3.00", "= 23.00"}));
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(focus(), "picSetFocus");
    EXPECT_EQ(display(), "23.00");
}

TEST_F(ChangePanel, TypeIsPickedWithTheMouseOnly) {
    changeType()->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(focus(), "cboType");
    type("x/9");
    key(Qt::Key_Backspace);
    EXPECT_EQ(changeType()->currentText(), "+");
    EXPECT_EQ(programEnds, 0);  // "x" was not routed to the exit key
    EXPECT_EQ(display(), "15.00");

    changeType()->showPopup();
    QAbstractItemView* items = changeType()->view();
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
                      items->visualRect(items->model()->index(1, 0)).center());
    EXPECT_EQ(changeType()->currentText(), "-");
    click("cmdSaveChange");
    EXPECT_EQ(tape()[0], std::string(kMinus) + " 12.00");
    EXPECT_EQ(tape()[2], "= -9.00");
}

// Escape in the panel is its "Cancel", never the calculator's cancel key.
TEST_F(ChangePanel, EscapeInTextBoxCancelsTheChange) {
    type("99");
    key(Qt::Key_Escape);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(display(), "15.00");
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 12.00", "+ 3.00", "= 15.00"}));
    EXPECT_EQ(focus(), "picSetFocus");
}

TEST_F(ChangePanel, CancelLeavesTapeAlone) {
    type("99");
    click("cmdCancelChange");
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 12.00", "+ 3.00", "= 15.00"}));
    EXPECT_EQ(focus(), "picSetFocus");
}

}  // namespace
}  // namespace tallyroll
