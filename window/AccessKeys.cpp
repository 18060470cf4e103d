#include "window/AccessKeys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "engine/Calculator.h"
#include "tape/TapeMove.h"
#include "window/form/FormControls.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

// One text for the seven: the key guide lists them as one run, Ctrl+0 to Ctrl+6.
constexpr const char* kDecimalsHelp = "0 to 6 fixed decimals";

constexpr AccessKeyDef kAccessKeys[] = {
    {{"changeSign", "Change &Sign", "F9", "change sign (+/-)"}, "cmdNegitive", -1},
    {{"memoryAdd", "Memory &Add", "Ctrl+M", "memory add (M+)"}, "cmdMemory", 0},
    {{"memorySubtract", "Memory &Subtract", "Ctrl+Shift+M", "memory subtract (M-)"},
     "cmdMemory",
     1},
    {{"memoryRecall", "Memory &Recall", "Ctrl+R", "memory recall (MR)"}, "cmdMemory", 2},
    {{"memoryClear", "Memory &Clear", "Ctrl+L", "memory clear (MC)"}, "cmdMemory", 3},
    {{"squareRoot", "S&quare Root", "Ctrl+T", "square root (Sqr)"}, "cmdFunction", 0},
    {{"reciprocal", "Rec&iprocal", "Ctrl+I", "reciprocal (1/x)"}, "cmdFunction", 2},
    {{"printTape", "P&rint\u2026", "Ctrl+P", "print the tape"}, "cmdPrint", -1},
    {{"decimals0", "&0 Fixed Decimal", "Ctrl+0", kDecimalsHelp}, "cboDecPlace", 0},
    {{"decimals1", "&1 Fixed Decimal", "Ctrl+1", kDecimalsHelp}, "cboDecPlace", 1},
    {{"decimals2", "&2 Fixed Decimal", "Ctrl+2", kDecimalsHelp}, "cboDecPlace", 2},
    {{"decimals3", "&3 Fixed Decimal", "Ctrl+3", kDecimalsHelp}, "cboDecPlace", 3},
    {{"decimals4", "&4 Fixed Decimal", "Ctrl+4", kDecimalsHelp}, "cboDecPlace", 4},
    {{"decimals5", "&5 Fixed Decimal", "Ctrl+5", kDecimalsHelp}, "cboDecPlace", 5},
    {{"decimals6", "&6 Fixed Decimal", "Ctrl+6", kDecimalsHelp}, "cboDecPlace", 6},
    {{"changeLine", "&Change Line", "F2",
      "correct the selected tape line (as a double click); a line that cannot be changed beeps"},
     "lstTape",
     -1},
};

constexpr MoveKey kMoveKeys[] = {
    {Qt::Key_Up, Qt::NoModifier, TapeMove::Up},
    {Qt::Key_Down, Qt::NoModifier, TapeMove::Down},
    {Qt::Key_PageUp, Qt::NoModifier, TapeMove::PageUp},
    {Qt::Key_PageDown, Qt::NoModifier, TapeMove::PageDown},
    {Qt::Key_Home, Qt::NoModifier, TapeMove::First},
    {Qt::Key_Home, Qt::ControlModifier, TapeMove::First},
    {Qt::Key_End, Qt::NoModifier, TapeMove::Last},
    {Qt::Key_End, Qt::ControlModifier, TapeMove::Last},
};

std::optional<TapeMove> MoveOf(const QKeyEvent& key) {
    // The keypad's arrows move as the others do.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    for (const MoveKey& m : kMoveKeys)
        if (key.key() == m.key && modifiers == m.modifiers) return m.move;
    return std::nullopt;
}

bool InChangePanel(const ViewControls& c, const QObject* target) {
    for (const QObject* o = target; o; o = o->parent())
        if (o == c.fraChangeTape) return true;
    return false;
}

}  // namespace

std::span<const AccessKeyDef> AccessKeys() {
    return kAccessKeys;
}

std::span<const MoveKey> MoveKeys() {
    return kMoveKeys;
}

bool IsChordCharacter(const QKeyEvent& key) {
    return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !key.text().isEmpty();
}

KeyRoute RouteAccessKey(Calculator& calc, const ViewControls& c, const QObject* target,
                        const QKeyEvent& key) {
    if (target == c.picSetFocus) {
        // Up, Down and the like select a tape line as a click on it does.
        if (const auto move = MoveOf(key)) {
            const int row = TapeRowAfterMove(*move, calc.tape().selected(), calc.tape().count(),
                                             c.lstTape->fullyVisibleRows());
            // On an empty tape the selection stays none, and is told so.
            calc.selectTapeLine(row);
            if (row >= 0) calc.lstTape_Click();
            return KeyRoute::Done;
        }
    }
    if (InChangePanel(c, target)) {
        // Escape anywhere in the change panel is its "Cancel".
        if (key.key() == Qt::Key_Escape && (key.modifiers() & ~Qt::KeypadModifier) == 0 &&
            c.fraChangeTape->isVisible()) {
            calc.cmdCancelChange_Click();
            return KeyRoute::Done;
        }
        const bool text = target == static_cast<const QObject*>(c.txtChangeTo);
        if (!text && target != static_cast<const QObject*>(c.cboType)) return KeyRoute::Control;
        if (text && IsChordCharacter(key)) return KeyRoute::Control;
        return KeyRoute::KeyTable;
    }
    if (IsChordCharacter(key)) return KeyRoute::Done;
    return KeyRoute::KeyTable;
}

}  // namespace tallyroll
