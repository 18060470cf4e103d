// The keys beyond the key table: commands for the buttons no character
// reaches, tape selection and correction from the keyboard, chords that type
// nothing, and the focus ring.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <map>
#include <vector>

#include "WindowHarness.h"
#include "window/AccessKeys.h"
#include "window/form/FocusFrame.h"

namespace tallyroll {
namespace {

// ---- The command table ------------------------------------------------------

TEST(AccessKeyTable, NoKeyTypesACharacterOrTakesAReservedChord) {
    const QList<QKeySequence> reserved = {
        QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Shift+C")),
        QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Ctrl+S")),
        QKeySequence(QStringLiteral("Ctrl+O")), QKeySequence(QStringLiteral("Ctrl+Q")),
        QKeySequence(QStringLiteral("Ctrl+W")), QKeySequence(QStringLiteral("Ctrl+Z"))};
    QList<QKeySequence> seen;
    for (const AccessKeyDef& def : AccessKeys()) {
        const auto keys = QKeySequence::listFromString(QString::fromUtf8(def.command.keys));
        ASSERT_FALSE(keys.isEmpty()) << def.command.id;
        for (const QKeySequence& k : keys) {
            const QKeyCombination c = k[0];
            const bool function = c.key() >= Qt::Key_F1 && c.key() <= Qt::Key_F35;
            EXPECT_TRUE(function || (c.keyboardModifiers() & Qt::ControlModifier))
                << def.command.id << " would type a character";
            EXPECT_FALSE(reserved.contains(k)) << def.command.id;
            EXPECT_FALSE(seen.contains(k)) << def.command.id << " shares its key";
            seen.push_back(k);
        }
    }
}

class AccessKeys : public WindowHarness {};

TEST_F(AccessKeys, EveryCommandIsBoundInTheWindow) {
    for (const AccessKeyDef& def : tallyroll::AccessKeys()) {
        QAction* action = window->command(QString::fromUtf8(def.command.id));
        ASSERT_NE(action, nullptr) << def.command.id;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(def.command.keys)));
    }
}

// Every key a person can press on a US keyboard reaches at most one command
// of the whole window (every feature's table). X11 and Wayland offer a press
// of Shift with a symbol key to the shortcuts both as itself and as the
// symbol Shift types, with the Shift taken away (Ctrl+Shift+= is also
// Ctrl++); a keypad key offers its symbol. Two commands, or two keys of one
// command, offered by one press make it ambiguous: it does nothing.
TEST_F(AccessKeys, EveryPressReachesOneCommandAtMost) {
    static const QString kUsPairs = QStringLiteral("`~1!2@3#4$5%6^7&8*9(0)-_=+[{]}\\|;:'\",<.>/?");
    static const QString kKeypad = QStringLiteral("0123456789+-*/.=");
    struct Press {
        int key;  // the key's own symbol or name; a keypad key negated
        int modifiers;
        auto operator<=>(const Press&) const = default;
    };
    const auto pressesOf = [](QKeyCombination c) {
        const int key = c.key(), mods = c.keyboardModifiers().toInt();
        const qsizetype pair = key < 0x7F ? kUsPairs.indexOf(QChar(key)) : -1;
        std::vector<Press> out;
        if (pair < 0 || pair % 2 == 0) out.push_back({key, mods});  // a key that types it
        if (pair % 2 == 1 && !(mods & Qt::ShiftModifier))           // Shift on its key types it
            out.push_back({kUsPairs[pair - 1].unicode(), mods | int(Qt::ShiftModifier)});
        if (key < 0x7F && kKeypad.contains(QChar(key))) out.push_back({-key, mods});
        return out;
    };

    std::map<Press, QString> taken;
    int keys = 0;
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& sequence : action->shortcuts()) {
            if (sequence.isEmpty()) continue;  // a menu command without keys
            ASSERT_EQ(sequence.count(), 1) << action->objectName().toStdString();
            const QString name =
                action->objectName() + u' ' + sequence.toString(QKeySequence::PortableText);
            ++keys;
            for (const Press& press : pressesOf(sequence[0])) {
                const auto [at, fresh] = taken.emplace(press, name);
                EXPECT_TRUE(fresh) << "one press reaches " << at->second.toStdString() << " and "
                                   << name.toStdString();
            }
        }
    }
    EXPECT_GT(keys, 30);  // every table is bound: decimals, memory, tape, undo, zoom, help
}

struct CommandRow {
    const char* name;
    const char* before;  // typed first
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* display;
    double memory;
};

class CommandKeys : public WindowHarness, public ::testing::WithParamInterface<CommandRow> {};

TEST_P(CommandKeys, RunTheButtonsHandler) {
    const CommandRow& row = GetParam();
    type(QString::fromLatin1(row.before));
    chord(row.key, row.modifiers);
    EXPECT_EQ(display(), row.display);
    EXPECT_EQ(window->calculator().state().dblMemory, row.memory);
    EXPECT_EQ(focus(), "picSetFocus");
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, CommandKeys,
    ::testing::Values(
        CommandRow{"F9ChangesTheSign", "7", Qt::Key_F9, {}, "-7.00", 0},
        CommandRow{"CtrlTSquareRoot", "16", Qt::Key_T, Qt::ControlModifier, "4.00", 0},
        CommandRow{"CtrlIReciprocal", "4", Qt::Key_I, Qt::ControlModifier, "0.25", 0},
        CommandRow{"CtrlMAddsToMemory", "6", Qt::Key_M, Qt::ControlModifier, "6.", 6},
        CommandRow{"CtrlShiftMSubtracts", "6", Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier,
                   "6.", -6},
        CommandRow{"Ctrl3ThreeDecimals", "1/3=", Qt::Key_3, Qt::ControlModifier, "0.33", 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(AccessKeys, DecimalsKeyPicksTheListEntry) {
    chord(Qt::Key_5, Qt::ControlModifier, QStringLiteral("5"));
    type(QStringLiteral("1/3="));
    EXPECT_EQ(display(), "0.33333");
    EXPECT_EQ(window->calculator().state().strFormat, "#0.00000");
}

// ---- Chords that no command takes ---------------------------------------------

struct ChordRow {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
};

class UnboundChords : public WindowHarness, public ::testing::WithParamInterface<ChordRow> {};

TEST_P(UnboundChords, TypeNothing) {
    const ChordRow& row = GetParam();
    type(QStringLiteral("4"));
    chord(row.key, row.modifiers, QString::fromLatin1(row.text));
    EXPECT_EQ(display(), "4.");
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(tape().empty());
    type(QStringLiteral("2"));
    EXPECT_EQ(display(), "42.");  // the plain keys still work
}

INSTANTIATE_TEST_SUITE_P(
    Chords, UnboundChords,
    ::testing::Values(ChordRow{"CtrlDigit", Qt::Key_9, Qt::ControlModifier, "9"},
                      ChordRow{"AltDigit", Qt::Key_5, Qt::AltModifier, "5"},
                      ChordRow{"CtrlPlus", Qt::Key_Plus, Qt::ControlModifier, "+"},
                      ChordRow{"AltX", Qt::Key_X, Qt::AltModifier, "x"},
                      ChordRow{"CtrlEnter", Qt::Key_Return, Qt::ControlModifier, "\r"},
                      ChordRow{"CtrlH", Qt::Key_H, Qt::ControlModifier, "\b"},
                      ChordRow{"CtrlQ", Qt::Key_Q, Qt::ControlModifier, "\x11"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(AccessKeys, ChordsInTheTapeDoNotJumpToALine) {
    type(QStringLiteral("1+2+"));
    clickLine(0);
    control("lstTape")->setFocus();
    chord(Qt::Key_2, Qt::AltModifier, QStringLiteral("2"));
    EXPECT_EQ(window->calculator().tape().selected(), 0);
    EXPECT_EQ(display(), "3.00");
}

// ---- Selecting and correcting tape lines ---------------------------------------

TEST_F(AccessKeys, ArrowsSelectAsAClickDoes) {
    type(QStringLiteral("12+3="));
    key(Qt::Key_Up);
    EXPECT_EQ(window->calculator().tape().selected(), 1);
    chord(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window->calculator().tape().selected(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(window->calculator().tape().selected(), 1);
    chord(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window->calculator().tape().selected(), 2);
    EXPECT_EQ(focus(), "picSetFocus");
    EXPECT_EQ(display(), "15.00");
    // The view shows the same line selected.
    EXPECT_EQ(window->findChild<QAbstractItemView*>("lstTape")->currentIndex().row(), 2);
}

TEST_F(AccessKeys, F2AndEnterCorrectALine) {
    type(QStringLiteral("12+3="));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    key(Qt::Key_F2);
    EXPECT_EQ(focus(), "txtChangeTo");
    type(QStringLiteral("5"));
    key(Qt::Key_Return);
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 5.00", "+ 3.00", "= 8.00"}));
    EXPECT_EQ(focus(), "picSetFocus");
}

// F2 on a line whose number follows from the others, or on an empty tape,
// beeps and opens nothing; a double click there stays silent as before.
TEST_F(AccessKeys, F2OnALineItCannotChangeBeeps) {
    struct Row {
        const char* keys;
        int line;  // -1: none selected
    };
    const Row rows[] = {{"", -1},
                        {"12+3=", 2} /* total */,
                        {"12+3=+", 2} /* sub total */,
                        {"12+3==", 3} /* separator */,
                        {"12+3==G", 4} /* grand total */};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        open({});
        const int beeps = log.beeps;
        type(QString::fromLatin1(row.keys));
        if (row.line >= 0) clickLine(row.line);
        key(Qt::Key_F2);
        EXPECT_FALSE(control("fraChangeTape")->isVisible());
        EXPECT_EQ(log.beeps, beeps + 1);
        EXPECT_EQ(focus(), "picSetFocus");
        if (row.line < 0) continue;
        doubleClickLine(row.line);
        EXPECT_FALSE(control("fraChangeTape")->isVisible());
        EXPECT_EQ(log.beeps, beeps + 1);
    }
}

TEST_F(AccessKeys, EscapeOnAPanelButtonCancels) {
    type(QStringLiteral("12+3="));
    doubleClickLine(0);
    control("cmdSaveChange")->setFocus();
    key(Qt::Key_Escape);
    EXPECT_FALSE(control("fraChangeTape")->isVisible());
    EXPECT_EQ(display(), "15.00");  // not the calculator's cancel
    EXPECT_EQ(tape().size(), 3u);
}

// ---- The focus ring --------------------------------------------------------------

TEST_F(AccessKeys, FocusRingShowsOnRealControlsOnly) {
    auto* ring = window->findChild<FocusFrame*>();
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->target(), nullptr);
    QWidget* button = control("cmdNumber", 7);
    button->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ring->target(), button);
    EXPECT_TRUE(
        ring->geometry().contains(QRect(button->mapTo(window.get(), QPoint()), button->size())));
    control("picSetFocus")->setFocus();
    EXPECT_EQ(ring->target(), nullptr);
    type(QStringLiteral("12+3="));
    doubleClickLine(0);
    EXPECT_EQ(ring->target(), control("txtChangeTo"));
    key(Qt::Key_Escape);
    EXPECT_EQ(ring->target(), nullptr);  // back on the hidden focus holder
}

}  // namespace
}  // namespace tallyroll
