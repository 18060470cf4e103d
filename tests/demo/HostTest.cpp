// The host window "Demo" with real calculator and title windows: visits,
// saved results, the close box, "E&xit", the title window on every fifth day.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "demo/Form1.h"
#include "demo/Forms.h"
#include "demo/frmDemo.h"
#include "window/SessionLog.h"

namespace tallyroll {
namespace {

// A person at the screen: acts whenever the active modal window changes.
// The title window is closed with "X"; once the calculator is shown, `use`
// runs on it. Runs inside the modal loops, as a person's input does.
class User {
  public:
    User(Forms& forms, std::function<void(FrmCalculator&)> use)
        : forms_(forms), use_(std::move(use)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
        clock_.start();
    }
    int titlesClosed = 0;
    bool used = false;

  private:
    void Tick() {
        if (Form1* title = forms_.loadedTitle(); title && title->isVisible()) {
            ++titlesClosed;
            QTest::mouseClick(&title->Command1(), Qt::LeftButton);
            return;
        }
        FrmCalculator* calc = forms_.loadedCalculator();
        if (!used && calc && calc->isVisible() && calc->isActiveWindow()) {
            used = true;
            timer_.stop();
            use_(*calc);
        }
        // A visit that never opens would hang the test: give up after 10 s.
        if (!used && clock_.hasExpired(10000)) {
            ADD_FAILURE() << "the calculator never opened";
            timer_.stop();
            if (calc) calc->hide();
        }
    }

    Forms& forms_;
    std::function<void(FrmCalculator&)> use_;
    QTimer timer_;
    QElapsedTimer clock_;
};

void Type(const QString& keys) {
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

class HostTest : public ::testing::Test {
  protected:
    explicit HostTest(int day = 3) {
        CalculatorHooks hooks;
        hooks.now = [day] { return LocalDateTime{2024, 6, day, 9, 30}; };
        hooks.dialogs = MakeScriptedDialogs(log_);
        hooks.endProgram = [this] { ++programEnds_; };
        forms_ = std::make_unique<Forms>(std::move(hooks));
        forms_->demo().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&forms_->demo()));
    }

    frmDemo& host() { return forms_->demo(); }
    QString value() { return host().lblValue().text(); }

    // One click on "Calculator"; `use` runs once the calculator is shown.
    // Returns when the click handler has finished.
    void Visit(std::function<void(FrmCalculator&)> use) {
        User user(*forms_, std::move(use));
        QTest::mouseClick(&host().cmdCalc(), Qt::LeftButton);
        EXPECT_TRUE(user.used);
        // Let released windows go, as the event loop would.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A visit that types `keys` and leaves with "S".
    void Save(const QString& keys) {
        Visit([&](FrmCalculator&) { Type(keys + "S"); });
    }

    SessionLog log_;
    int programEnds_ = 0;
    std::unique_ptr<Forms> forms_;
};

// "tallyroll FILE.tape": the visit opens on the file's tape, recalculated;
// a file that is no tape is refused with a message and the tape stays empty.
TEST_F(HostTest, VisitWithATapeFileOpensOnThatTape) {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.tape"));
    const QString bad = dir.filePath(QStringLiteral("bad.tape"));
    for (const auto& [path, text] :
         {std::pair{good, "+ 12.00\n+ 3.00\n= 99.00\n"}, std::pair{bad, "+ 12.00\nhello\n"}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    for (const QString& path : {good, bad}) {
        std::vector<std::string> tape;
        QString display;
        User user(*forms_, [&](FrmCalculator& calc) {
            tape = calc.calculator().tape().lines();
            display = calc.result();
            Type("S");
        });
        host().OpenCalculatorWithTape(path);
        EXPECT_TRUE(user.used);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (path == good) {
            EXPECT_EQ(tape, (std::vector<std::string>{"+ 12.00", "+ 3.00", "= 15.00"}));
            EXPECT_EQ(display, QStringLiteral("15.00"));
            EXPECT_TRUE(log_.messages.empty());
        } else {
            EXPECT_TRUE(tape.empty());
            ASSERT_EQ(log_.messages.size(), 1u);
            EXPECT_NE(log_.messages[0].text.find("line 2:"), std::string::npos);
        }
    }
}

TEST_F(HostTest, WindowHasTheDefinitionsLayout) {
    frmDemo& w = host();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Demo"));
    // 4530 x 1200 twips inside, placed at (3195, 2925), at 15 twips per pixel.
    EXPECT_EQ(w.geometry(), QRect(213, 195, 302, 80));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w.lblValue().geometry(), QRect(22, 27, 144, 23));
    EXPECT_EQ(w.lblValue().text(), QString());
    EXPECT_EQ(w.cmdCalc().geometry(), QRect(175, 26, 98, 23));
    EXPECT_EQ(w.cmdCalc().text(), QStringLiteral("Calculator"));
}

TEST_F(HostTest, FirstVisitOpensAnEmptyCalculatorAndSavesZero) {
    Visit([this](FrmCalculator& calc) {
        EXPECT_EQ(calc.result(), QStringLiteral("."));
        EXPECT_EQ(calc.calculator().tape().count(), 0);
        EXPECT_TRUE(calc.isModal());
        EXPECT_EQ(calc.parentWidget(), &host());  // the host is the owner
        // ... for the window manager too: a dialog transient for the host.
        EXPECT_EQ(calc.windowType(), Qt::Dialog);
        ASSERT_NE(calc.windowHandle(), nullptr);
        EXPECT_EQ(calc.windowHandle()->transientParent(), host().windowHandle());
        Type("S");
    });
    EXPECT_EQ(value(), QStringLiteral("0"));
    EXPECT_EQ(forms_->loadedCalculator(), nullptr);
}

// The saved display, in whichever form it stands, comes back in the plain
// general form.
TEST_F(HostTest, SavedResultIsWrittenInTheGeneralForm) {
    const struct {
        const char* keys;
        const char* value;
    } rows[] = {
        {"12.5", "12.5"},     // typed: "12.5"
        {"12.50", "12.5"},    // typed with a trailing zero
        {"12.5+", "12.5"},    // formatted: "12.50"
        {"10+2.5=", "12.5"},  // a total
        {".", "0"},           // the empty display "."
        {"", "0"},            // nothing typed
        {"3-5=", "-2"},       // negative total
        {"7=", "7"},          // no trailing "."
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        Save(QString::fromLatin1(row.keys));
        EXPECT_EQ(value(), QString::fromLatin1(row.value));
    }
}

TEST_F(HostTest, EachVisitStartsAFreshCalculator) {
    QPointer<FrmCalculator> first;
    Visit([&](FrmCalculator& calc) {
        first = &calc;
        Type("4+5=");
        QTest::mouseClick(calc.control(QStringLiteral("cmdMemory"), 0), Qt::LeftButton);
        Type("S");
    });
    EXPECT_EQ(value(), QStringLiteral("9"));
    EXPECT_TRUE(first.isNull());  // unloaded and deleted after the visit
    Visit([](FrmCalculator& calc) {
        // The host's value is not on the display: activation starts empty.
        EXPECT_EQ(calc.result(), QStringLiteral("."));
        EXPECT_EQ(calc.calculator().tape().count(), 0);
        EXPECT_EQ(calc.calculator().state().dblMemory, 0);
        Type("1+S");
    });
    EXPECT_EQ(value(), QStringLiteral("1"));
}

TEST_F(HostTest, CloseBoxKeepsTheValueAndLeavesNoWindow) {
    Save("12.5");
    QPointer<FrmCalculator> closed;
    Visit([&](FrmCalculator& calc) {
        closed = &calc;
        Type("99");
        calc.close();
    });
    EXPECT_EQ(value(), QStringLiteral("12.5"));
    EXPECT_EQ(forms_->loadedCalculator(), nullptr);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(programEnds_, 0);
}

// "X" (and "E&xit") end everything: the host never resumes, so its label
// stays and no unload handler runs.
TEST_F(HostTest, ExitEndsTheProgramWithoutTouchingTheHost) {
    Save("12.5");
    int unloads = 0;
    Visit([&](FrmCalculator& calc) {
        QObject::connect(&calc, &FrmCalculator::unloaded, [&] { ++unloads; });
        Type("77+");
        Type("X");
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(programEnds_, 1);
    EXPECT_TRUE(forms_->ended());
    EXPECT_EQ(value(), QStringLiteral("12.5"));
    EXPECT_EQ(unloads, 0);
    ASSERT_NE(forms_->loadedCalculator(), nullptr);
    EXPECT_FALSE(forms_->loadedCalculator()->isVisible());
    EXPECT_FALSE(host().isVisible());
}

TEST_F(HostTest, ExitButtonEndsTheProgramToo) {
    Visit([](FrmCalculator& calc) {
        Type("5");
        QTest::mouseClick(calc.control(QStringLiteral("cmdClose")), Qt::LeftButton);
    });
    EXPECT_EQ(programEnds_, 1);
    EXPECT_EQ(value(), QString());
}

// A saved result beyond the currency range cannot be a start value: the
// next visit starts at 0 and works as any other.
TEST_F(HostTest, ResultBeyondTheCurrencyRangeStartsTheNextVisitAtZero) {
    Save("99999999999*100000=");
    EXPECT_EQ(value(), QStringLiteral("9999999999900000"));
    Save("2+");
    EXPECT_EQ(value(), QStringLiteral("2"));
}

TEST_F(HostTest, EnterAndSpaceOnTheButtonOpenTheCalculator) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        User user(*forms_, [](FrmCalculator&) { Type("3S"); });
        host().activateWindow();
        host().cmdCalc().setFocus();
        QTest::keyClick(&host().cmdCalc(), key);
        EXPECT_TRUE(user.used);
        EXPECT_EQ(value(), QStringLiteral("3"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(HostTest, ClosingTheHostReleasesIt) {
    QPointer<frmDemo> w = &host();
    w->close();
    EXPECT_EQ(forms_->loadedDemo(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

// On days divisible by 5 every visit loads a new calculator, and every load
// shows the title window first.
TEST(HostTitleTest, TitleWindowOnEveryVisitOnDaysDivisibleByFive) {
    const struct {
        int day;
        int titles;
    } rows[] = {{5, 2}, {10, 2}, {30, 2}, {4, 0}, {31, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.day);
        CalculatorHooks hooks;
        hooks.now = [day = row.day] { return LocalDateTime{2024, 1, day, 12, 0}; };
        Forms forms(std::move(hooks));
        forms.demo().show();
        int titles = 0;
        for (int visit = 0; visit < 2; ++visit) {
            User user(forms, [](FrmCalculator&) { Type("S"); });
            QTest::mouseClick(&forms.demo().cmdCalc(), Qt::LeftButton);
            titles += user.titlesClosed;
            EXPECT_EQ(forms.demo().lblValue().text(), QStringLiteral("0"));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_EQ(titles, row.titles);
        EXPECT_EQ(forms.loadedTitle(), nullptr);
    }
}

}  // namespace
}  // namespace tallyroll
