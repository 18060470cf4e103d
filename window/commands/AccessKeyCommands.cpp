#include "window/commands/AccessKeyCommands.h"

#include <QComboBox>
#include <QPushButton>

#include "engine/Calculator.h"
#include "tape/TapeLine.h"
#include "window/AccessKeys.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

void InstallAccessKeys(CommandHost& window) {
    Calculator& calc = window.calculator();
    for (const AccessKeyDef& def : AccessKeys()) {
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
                window.view().beep();
                window.view().tell(tape.empty() ? "tape empty" : "this line cannot be changed");
            });
        }
    }
}

}  // namespace tallyroll
