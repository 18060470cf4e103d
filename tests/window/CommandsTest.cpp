// Commands beside the keypad: zoom of the calculator window (Ctrl++ / Ctrl+=
// / Ctrl+-), the help window (F1), and the undo commands' texts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>
#include <cmath>
#include <memory>

#include "window/FrmCalculator.h"
#include "window/SessionLog.h"
#include "window/commands/HelpWindow.h"
#include "window/commands/Zoom.h"
#include "window/form/ControlTable.h"

namespace tallyroll {
namespace {

constexpr double kTpp = 15;

class ZoomTest : public ::testing::Test {
  protected:
    // A fresh window over `area`, sharing the test's zoom level.
    void open(WorkAreaPixels area) {
        window.reset();
        area_ = area;
        CalculatorHooks hooks;
        hooks.now = [] { return LocalDateTime{2024, 3, 4, 9, 30}; };
        hooks.dialogs = MakeScriptedDialogs(log);
        hooks.beep = [this] { ++log.beeps; };
        hooks.workArea = area;
        hooks.twipsPerPixelX = hooks.twipsPerPixelY = kTpp;
        hooks.zoomLevel = level;
        window = std::make_unique<FrmCalculator>(std::move(hooks));
        window->SetStartValue(0);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(window->focusWidget(), key, modifiers);
    }

    static int Px(double twips, double zoom) {
        return static_cast<int>(std::lround(twips * zoom / kTpp));
    }

    // Every control sits and is lettered as the definition says at `zoom`.
    void expectScaled(double zoom) const {
        const FormDef& form = CalculatorForm();
        // The inside grows with the zoom; the frame around it does not.
        EXPECT_EQ(window->size(),
                  QSize(Px(form.loadedInnerWidth(), zoom), Px(form.loadedInnerHeight(), zoom)));
        EXPECT_EQ(window->frameGeometry().size(),
                  window->size().grownBy(window->windowHandle()->frameMargins()));
        int checked = 0;
        for (const ControlDef& def : CalculatorControls()) {
            if (std::string_view(def.name) == "fraChangeTape") continue;  // laid out on resize
            const QWidget* w = window->control(QString::fromLatin1(def.name), def.index);
            ASSERT_NE(w, nullptr) << def.name;
            const int l = Px(def.rect.left, zoom), t = Px(def.rect.top, zoom);
            EXPECT_EQ(w->geometry(), QRect(l, t, Px(def.rect.left + def.rect.width, zoom) - l,
                                           Px(def.rect.top + def.rect.height, zoom) - t))
                << def.name << " at " << zoom;
            const double points = def.font.family ? def.font.points : form.font.points;
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), points * zoom) << def.name << " at " << zoom;
            // The focus holder sits above the window's top on purpose.
            if (def.shown && !def.parent && std::string_view(def.name) != "picSetFocus") {
                EXPECT_TRUE(window->rect().contains(w->geometry()))
                    << def.name << " cut at " << zoom;
            }
            ++checked;
        }
        EXPECT_GT(checked, 40);
        const QRect frame = window->frameGeometry();
        EXPECT_TRUE(QRect(QPoint(area_.left, area_.top), QPoint(area_.right - 1, area_.bottom - 1))
                        .contains(frame))
            << "outside the work area at " << zoom;
    }

    std::shared_ptr<int> level = std::make_shared<int>(0);
    SessionLog log;
    std::unique_ptr<FrmCalculator> window;
    WorkAreaPixels area_;
};

// Each zoom key in turn, through every step and back.
struct KeyRow {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class ZoomKeys : public ZoomTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(ZoomKeys, EveryStepScalesGeometryAndFonts) {
    open({0, 0, 2400, 1600});
    const std::span<const double> steps = ZoomSteps();
    expectScaled(1);
    for (std::size_t i = 1; i < steps.size(); ++i) {
        press(GetParam().key, GetParam().modifiers);
        expectScaled(steps[i]);
    }
    press(GetParam().key, GetParam().modifiers);  // past 300 %
    EXPECT_EQ(log.beeps, 1);
    for (std::size_t i = steps.size() - 1; i-- > 0;) {
        press(Qt::Key_Minus);
        expectScaled(steps[i]);
    }
    press(Qt::Key_Minus);  // below 100 %
    EXPECT_EQ(log.beeps, 2);
}

INSTANTIATE_TEST_SUITE_P(In, ZoomKeys,
                         ::testing::Values(KeyRow{"CtrlEquals", Qt::Key_Equal, Qt::ControlModifier},
                                           KeyRow{"CtrlPlus", Qt::Key_Plus, Qt::ControlModifier},
                                           // "+" typed with Shift, as on a US keyboard
                                           KeyRow{"CtrlShiftPlus", Qt::Key_Plus,
                                                  Qt::ControlModifier | Qt::ShiftModifier}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ZoomTest, StepBeyondTheWorkAreaIsRefused) {
    open({0, 0, 800, 800});  // 250 % would be 983 pixels wide
    for (int i = 0; i < 4; ++i) press(Qt::Key_Equal);
    EXPECT_EQ(log.beeps, 0);
    expectScaled(2.0);
    press(Qt::Key_Equal);
    EXPECT_EQ(log.beeps, 1);
    expectScaled(2.0);
    EXPECT_EQ(*level, 4);
}

TEST_F(ZoomTest, PlacedAgainByTheRule) {
    open({0, 0, 1920, 1040});
    press(Qt::Key_Equal);
    press(Qt::Key_Equal);
    // As if the screen had 10 twips per pixel: area 19200 x 10400 twips, the
    // window 587 x 464 pixels inside and 2 pixels of frame a side, 5910 x
    // 4680 twips: left |9600 - 2955|, top |10400 / 2.8 - 2340|.
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(665, 137));
}

TEST_F(ZoomTest, NextWindowOpensAtTheLevel) {
    open({0, 0, 2400, 1600});
    press(Qt::Key_Equal);
    press(Qt::Key_Equal);
    open({0, 0, 2400, 1600});
    expectScaled(1.5);
    press(Qt::Key_Minus);
    expectScaled(1.25);
}

TEST_F(ZoomTest, DigitsAndKeysStillTypeWhileZoomed) {
    open({0, 0, 2400, 1600});
    press(Qt::Key_Equal);
    QTest::keyClicks(window->focusWidget(), QStringLiteral("12+3="));
    EXPECT_EQ(window->result(), QStringLiteral("15.00"));
}

// The calculator's picture is drawn from an icon of its own size at every
// zoom step, not blown up from a smaller one.
TEST_F(ZoomTest, PictureIsSharpAtEveryStep) {
    open({0, 0, 2400, 1600});
    for (const double zoom : ZoomSteps()) {
        if (zoom > 1) press(Qt::Key_Equal);
        const auto* image = qobject_cast<QLabel*>(window->control(QStringLiteral("Image1")));
        ASSERT_NE(image, nullptr);
        const QPixmap picture = image->pixmap();
        const int side = Px(480, zoom);
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(side, side)) << zoom;
        // At 200 % the picture is the 64-pixel icon itself, pixel for pixel.
        if (zoom == 2) {
            EXPECT_EQ(picture.toImage().convertToFormat(QImage::Format_ARGB32),
                      QImage(QStringLiteral(":/tallyroll/window/icon-64.png"))
                          .convertToFormat(QImage::Format_ARGB32));
        }
    }
}

// F1 opens the help; Escape closes it and the calculator has the keys again.
TEST_F(ZoomTest, HelpOpensAndEscapeCloses) {
    open({0, 0, 800, 800});
    press(Qt::Key_F1, Qt::NoModifier);
    auto* help = window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    EXPECT_TRUE(window->isEnabled()) << "the help must not block the calculator";
    const QString text = help->findChild<QTextBrowser*>()->toPlainText();
    for (const char* part : {"Ctrl+Z", "Ctrl+Shift+Z", "F9", "Ctrl+V", "Ctrl+=", "F1", "About",
                             "tallyroll", "MIT", TALLYROLL_TEST_VERSION})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;

    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window->control(QStringLiteral("picSetFocus")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    EXPECT_EQ(window->result(), QStringLiteral("7."));
}

TEST_F(ZoomTest, UndoCommandsNameTheirStep) {
    open({0, 0, 800, 800});
    QAction* undo = window->command(QStringLiteral("undo"));
    QAction* redo = window->command(QStringLiteral("redo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    QTest::keyClicks(window->focusWidget(), QStringLiteral("5+L"));
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Clear tape"));
    press(Qt::Key_Z);
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo Clear tape"));
    press(Qt::Key_Y);
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo"));
    EXPECT_EQ(log.beeps, 0);
}

}  // namespace
}  // namespace tallyroll
