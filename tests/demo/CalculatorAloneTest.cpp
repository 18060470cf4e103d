// `tallyroll --calculator`: the calculator alone, no Demo window; the run
// ends when the calculator closes, by its close box or "S"; the title window
// still comes first on every fifth day.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "demo/CalculatorAlone.h"
#include "demo/CommandLine.h"
#include "demo/Form1.h"
#include "demo/Forms.h"
#include "window/SessionLog.h"

namespace tallyroll {
namespace {

struct LeaveRow {
    const char* name;
    int day;
    std::function<void(FrmCalculator&)> leave;
};

class CalculatorAlone : public ::testing::TestWithParam<LeaveRow> {};

TEST_P(CalculatorAlone, RunEndsWhenTheCalculatorCloses) {
    const LeaveRow& row = GetParam();
    SessionLog log;
    CalculatorHooks hooks;
    hooks.now = [day = row.day] { return LocalDateTime{2024, 6, day, 9, 30}; };
    hooks.dialogs = MakeScriptedDialogs(log);
    Forms forms(std::move(hooks));

    // A person at the screen: closes the title window, then uses the calculator.
    int titles = 0;
    bool left = false;
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (Form1* title = forms.loadedTitle(); title && title->isVisible()) {
            ++titles;
            QTest::mouseClick(&title->Command1(), Qt::LeftButton);
        } else if (FrmCalculator* calc = forms.loadedCalculator();
                   calc && calc->isVisible() && calc->isActiveWindow() && !left) {
            left = true;
            EXPECT_EQ(calc->result(), QStringLiteral("."));
            EXPECT_EQ(forms.loadedDemo(), nullptr) << "no Demo window";
            row.leave(*calc);
        } else if (clock.hasExpired(10000)) {
            ADD_FAILURE() << "the calculator never opened";
            if (calc) calc->hide();
        }
    });
    timer.start();

    EXPECT_EQ(RunCalculatorAlone(forms), 0);
    EXPECT_TRUE(left);
    EXPECT_EQ(titles, row.day % 5 == 0 ? 1 : 0);
    EXPECT_EQ(forms.loadedCalculator(), nullptr);
    EXPECT_EQ(forms.loadedDemo(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Leave, CalculatorAlone,
                         ::testing::Values(LeaveRow{"CloseBox", 3,
                                                    [](FrmCalculator& calc) { calc.close(); }},
                                           LeaveRow{"SaveKey", 3,
                                                    [](FrmCalculator& calc) {
                                                        QTest::keyClicks(calc.focusWidget(),
                                                                         QStringLiteral("12+3S"));
                                                    }},
                                           LeaveRow{"TitleWindowOnTheFifth", 5,
                                                    [](FrmCalculator& calc) { calc.close(); }}),
                         [](const auto& row) { return std::string(row.param.name); });

// `tallyroll --calculator FILE.tape`: the calculator opens on the file's tape,
// recalculated; a file that is no tape, or none at all, is refused with the
// message the Demo window's calculator gives, and the tape stays empty.
TEST(CalculatorAloneTape, OpensTheFileOrSaysWhyNot) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const char* text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    const struct {
        QString path;
        std::vector<std::string> tape;
        const char* message;  // what the refusal says after the file's name
    } rows[] = {
        {write("good.tape", "+ 12.00\n+ 3.00\n= 99.00\n"), {"+ 12.00", "+ 3.00", "= 15.00"}, ""},
        {write("bad.tape", "+ 12.00\nhello\n"), {}, ": line 2:"},
        {dir.filePath(QStringLiteral("missing.tape")), {}, ": No such file or directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        SessionLog log;
        CalculatorHooks hooks;
        hooks.now = [] { return LocalDateTime{2024, 6, 3, 9, 30}; };
        hooks.dialogs = MakeScriptedDialogs(log);
        Forms forms(std::move(hooks));
        std::vector<std::string> tape;
        QTimer person;
        person.setInterval(5);
        QObject::connect(&person, &QTimer::timeout, [&] {
            FrmCalculator* calc = forms.loadedCalculator();
            if (!calc || !calc->isVisible() || !calc->isActiveWindow()) return;
            person.stop();
            // The file is opened once the window is up; let that happen first.
            QTimer::singleShot(50, calc, [&, calc] {
                tape = calc->calculator().tape().lines();
                calc->close();
            });
        });
        person.start();
        EXPECT_EQ(RunCalculatorAlone(forms, row.path), 0);
        EXPECT_EQ(tape, row.tape);
        if (*row.message) {
            ASSERT_EQ(log.messages.size(), 1u);
            EXPECT_EQ(
                log.messages[0].text.rfind(
                    "The tape could not be opened from " + row.path.toStdString() + row.message, 0),
                0u)
                << log.messages[0].text;
        } else {
            EXPECT_TRUE(log.messages.empty());
        }
    }
}

TEST(CalculatorAloneOption, OnlyTheOptionAsksForIt) {
    const struct {
        std::vector<const char*> args;
        bool alone;
    } rows[] = {{{"tallyroll"}, false},
                {{"tallyroll", "--calculator"}, true},
                {{"tallyroll", "-platform", "xcb", "--calculator"}, true},
                {{"tallyroll", "--calculators"}, false},
                {{"tallyroll", "calculator"}, false}};
    for (const auto& r : rows) {
        QStringList args;
        for (const char* a : r.args) args << QString::fromLatin1(a);
        EXPECT_EQ(CommandLine(args).isSet(QStringLiteral("calculator")), r.alone) << r.args.back();
    }
}

}  // namespace
}  // namespace tallyroll
