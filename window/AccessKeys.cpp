#include "window/AccessKeys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "engine/Calculator.h"
#include "tape/TapeLine.h"
#include "tape/TapeMove.h"
#include "window/FrmCalculator.h"
#include "window/QtView.h"
#include "window/TapeListView.h"

namespace tallyroll {

namespace {

constexpr AccessKeyDef kAccessKeys[] = {
    {{"changeSign", "Change &Sign", "F9"}, "cmdNegitive", -1},
    {{"memoryAdd", "Memory &Add", "Ctrl+M"}, "cmdMemory", 0},
    {{"memorySubtract", "Memory &Subtract", "Ctrl+Shift+M"}, "cmdMemory", 1},
    {{"memoryRecall", "Memory &Recall", "Ctrl+R"}, "cmdMemory", 2},
    {{"memoryClear", "Memory &Clear", "Ctrl+L"}, "cmdMemory", 3},
    {{"squareRoot", "S&quare Root", "Ctrl+T"}, "cmdFunction", 0},
    {{"reciprocal", "Rec&iprocal", "Ctrl+I"}, "cmdFunction", 2},
    {{"printTape", "P&rint\u2026", "Ctrl+P"}, "cmdPrint", -1},
    {{"decimals0", "&0 Fixed Decimal", "Ctrl+0"}, "cboDecPlace", 0},
    {{"decimals1", "&1 Fixed Decimal", "Ctrl+1"}, "cboDecPlace", 1},
    {{"decimals2", "&2 Fixed Decimal", "Ctrl+2"}, "cboDecPlace", 2},
    {{"decimals3", "&3 Fixed Decimal", "Ctrl+3"}, "cboDecPlace", 3},
    {{"decimals4", "&4 Fixed Decimal", "Ctrl+4"}, "cboDecPlace", 4},
    {{"decimals5", "&5 Fixed Decimal", "Ctrl+5"}, "cboDecPlace", 5},
    {{"decimals6", "&6 Fixed Decimal", "Ctrl+6"}, "cboDecPlace", 6},
    {{"changeLine", "&Change Line", "F2"}, "lstTape", -1},
};

struct MoveKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    TapeMove move;
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

void InstallAccessKeys(FrmCalculator& window, Calculator& calc) {
    for (const AccessKeyDef& def : kAccessKeys) {
        QWidget* target = window.control(QString::fromUtf8(def.control),
                                         qstrcmp(def.control, "cboDecPlace") == 0 ? -1 : def.index);
        if (auto* button = qobject_cast<QPushButton*>(target)) {
            // The button's own click, with its handler and its focus parking.
            window.AddCommand(def.command, [button] { button->click(); });
        } else if (auto* list = qobject_cast<QComboBox*>(target)) {
            // A pick of the entry, as with the mouse.
            window.AddCommand(def.command, [list, entry = def.index] {
                list->setCurrentIndex(entry);
                emit list->activated(entry);
            });
        } else if (qobject_cast<TapeListView*>(target)) {
            // As a double click on the selected line; a line whose number
            // follows from the others (or none) is refused with a beep.
            window.AddCommand(def.command, [&window, &calc] {
                const TapeList& tape = calc.tape();
                if (tape.selected() >= 0 && CanChangeLine(tape.line(tape.selected()))) {
                    calc.lstTape_DblClick();
                    return;
                }
                calc.Beep();
                window.view().tell(tape.empty() ? "tape empty" : "this line cannot be changed");
            });
        }
    }
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
