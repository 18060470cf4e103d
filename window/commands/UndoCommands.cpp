#include "window/commands/UndoCommands.h"

#include <QAction>

#include "engine/Calculator.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"

namespace tallyroll {

namespace {

constexpr CommandDef kUndo{"undo", "&Undo", "Ctrl+Z",
                           "undo the last clear of the tape, saved correction or opened tape file"};
constexpr CommandDef kRedo{"redo", "&Redo", "Ctrl+Shift+Z; Ctrl+Y", "redo"};

// "Undo Clear tape", or the plain text when there is no step.
QString TextFor(const CommandDef& def, const std::string& step) {
    QString text = QString::fromUtf8(def.text);
    if (!step.empty()) text += QLatin1Char(' ') + QString::fromStdString(step);
    return text;
}

}  // namespace

void InstallUndoCommands(CommandHost& window) {
    Calculator& calc = window.calculator();
    // Both stay enabled: a key beyond the history beeps.
    QAction* undo = window.AddCommand(kUndo, [&calc] { calc.Undo(); });
    QAction* redo = window.AddCommand(kRedo, [&calc] { calc.Redo(); });
    auto update = [undo, redo, &calc] {
        undo->setText(TextFor(kUndo, calc.history().undoName()));
        redo->setText(TextFor(kRedo, calc.history().redoName()));
    };
    calc.history().setListener(update);
    update();
}

}  // namespace tallyroll
