// Load, placement, activation, saving, exit and the close box.
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "WindowHarness.h"
#include "tape/TapeLine.h"

namespace tallyroll {
namespace {

QPoint Pixels(int leftTwips, int topTwips, double tpp) {
    return {static_cast<int>(std::lround(leftTwips / tpp)),
            static_cast<int>(std::lround(topTwips / tpp))};
}

struct PlacementRow {
    const char* name;
    WorkAreaPixels area;
    int left, top;  // twips
};

class Placement : public WindowHarness, public ::testing::WithParamInterface<PlacementRow> {
  protected:
    void SetUp() override {}
};

TEST_P(Placement, WindowGoesWhereTheRuleSays) {
    WindowSetup setup;
    setup.workArea = GetParam().area;
    open(setup);
    EXPECT_EQ(window->frameGeometry().topLeft(), Pixels(GetParam().left, GetParam().top, 15));
}

// The window's real outer size: the inner area of 391 x 309 pixels and the
// offscreen platform's frame of 2 pixels a side, 5925 x 4695 twips.
const PlacementRow kPlacementRows[] = {
    {"FullHd", {0, 0, 1920, 1040}, 11438, 3224},
    {"SmallScreenTakesAbsoluteValue", {0, 0, 640, 430}, 1838, 44},
    {"RaisedToTaskBarAtTop", {0, 40, 800, 533}, 3038, 600},
    {"MovedRightToWorkAreaLeft", {400, 0, 800, 800}, 6000, 1938},
    // 4800 - 4695: the frame's bottom on the work area's, which the
    // definition's outer height of 4950 twips would have pushed past the top.
    {"BottomOfTheRealFrameOnTheWorkArea", {0, 0, 800, 320}, 3038, 105},
};

INSTANTIATE_TEST_SUITE_P(WorkAreas, Placement, ::testing::ValuesIn(kPlacementRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WindowHarness, InnerSizeAndChangePanelFollowTheTwips) {
    // 5900 x 4950 twips less a frame of 1-pixel borders and a 20-pixel title
    // bar, whatever frame the platform really draws; the outer size is the
    // inner one with that frame.
    EXPECT_EQ(window->size(), QSize(391, 309));
    const QMargins frame = window->windowHandle()->frameMargins();
    EXPECT_EQ(window->frameGeometry().size(), window->size().grownBy(frame));
    EXPECT_NE(frame, QMargins(1, 20, 1, 1)) << "the test needs a frame unlike the reference";
    const QRect panel = control("fraChangeTape")->geometry();
    EXPECT_EQ(panel, QRect(0, 20, 391, 147));  // 0, 300, inner width, 2200
    EXPECT_EQ(control("cmdNumber", 7)->geometry(), QRect(52, 91, 33, 33));

    WindowSetup large;
    large.tpp = 12;  // 120 dots per inch
    open(large);
    EXPECT_EQ(window->size(), QSize(489, 386));  // 5870 / 12, 4635 / 12
    EXPECT_EQ(control("fraChangeTape")->width(), 489);
    EXPECT_EQ(control("cmdNumber", 7)->geometry(), QRect(65, 114, 42, 41));
}

TEST_F(WindowHarness, OnlyTheDefinitionsHiddenControlsAreHiddenAtOpen) {
    QStringList hidden;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->property("Order").isValid() && w->isHidden()) hidden << w->objectName();
    hidden.sort();
    EXPECT_EQ(hidden, (QStringList{"cmdSave", "fraChangeTape", "lblMemory", "lblValue"}));
    EXPECT_EQ(display(), ".");
    EXPECT_EQ(window->calculator().state().strFormat, "#0.00");
}

class TitleDays : public WindowHarness, public ::testing::WithParamInterface<std::pair<int, int>> {
  protected:
    void SetUp() override {}
};

TEST_P(TitleDays, TitleWindowOnEveryFifthDay) {
    WindowSetup setup;
    setup.now.day = GetParam().first;
    open(setup);
    EXPECT_EQ(titlesShown, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Days, TitleDays,
                         ::testing::Values(std::pair{4, 0}, std::pair{5, 1}, std::pair{10, 1},
                                           std::pair{25, 1}, std::pair{30, 1}, std::pair{31, 0}),
                         [](const auto& row) { return "Day" + std::to_string(row.param.first); });

TEST_F(WindowHarness, ActivationReplacesTheHostsStartValue) {
    window->hide();
    window->SetStartValue(125000);  // 12.5
    EXPECT_EQ(display(), "12.50");
    window->show();
    EXPECT_EQ(display(), ".");
}

TEST_F(WindowHarness, ReactivationDoesNotRestartTheCalculation) {
    // A message box hands the activation back to the window; that must not
    // run the activation steps again.
    type("5+2");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_EQ(display(), "2.");
    EXPECT_EQ(tape(), std::vector<std::string>{"+ 5.00"});
}

TEST_F(WindowHarness, SaveHidesWindowAndEndsModalShow) {
    window->hide();
    QTimer::singleShot(0, window.get(), [this] { type("42s"); });
    window->ShowModal(nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->accepted());
    EXPECT_EQ(window->result(), "42.");
    EXPECT_EQ(programEnds, 0);
}

TEST_F(WindowHarness, ExitCancelsThenEndsProgram) {
    type("5+3");
    click("cmdClose");
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(window->accepted());
    const std::vector<std::string> exited = tape();

    open({});
    type("5+3c");
    EXPECT_EQ(exited, tape());  // the cancel ran first, exactly as "&C"
    type("X");
    EXPECT_EQ(programEnds, 2);
}

TEST_F(WindowHarness, CloseBoxUnloadsWithoutAcceptance) {
    QSignalSpy unloaded(window.get(), &FrmCalculator::unloaded);
    window->hide();
    QTimer::singleShot(0, window.get(), [this] {
        type("7");
        window->close();
    });
    window->ShowModal(nullptr);
    EXPECT_TRUE(window->isUnloaded());
    EXPECT_FALSE(window->accepted());
    EXPECT_TRUE(unloaded.wait(1000));
    EXPECT_EQ(programEnds, 0);
}

TEST_F(WindowHarness, BoxesGoThroughTheDialogs) {
    type("8/\r");  // dividing by nothing
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].title, "Calculator");
    EXPECT_EQ(log.messages[0].text, "Divide by zero Error");
    EXPECT_EQ(log.messages[0].icon, MessageIcon::Warning);

    log.messages.clear();
    type("4");
    click("cmdNegitive");
    click("cmdFunction", 0);  // square root of a negative number
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].title, "Calculator - ERROR");
    EXPECT_EQ(log.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(log.messages[0].text.ends_with("Function: cmdFunction_Click0"));
}

}  // namespace
}  // namespace tallyroll
