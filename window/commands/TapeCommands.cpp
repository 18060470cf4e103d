#include "window/commands/TapeCommands.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <functional>

#include "engine/Calculator.h"
#include "tape/PasteText.h"
#include "window/KeyTable.h"
#include "window/QtText.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"
#include "window/commands/TapeFiles.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

using Handler = void (*)(CommandHost&);

struct TapeCommand {
    CommandDef def;
    Handler run;
};

QClipboard& Clipboard() {
    return *QGuiApplication::clipboard();
}

void Beep(CommandHost& w) {
    w.view().beep();
}

void CopyDisplay(CommandHost& w) {
    Clipboard().setText(Q(CopiedNumber(w.calculator().captions().lblResult)));
}

void CopyTape(CommandHost& w) {
    const TapeList& tape = w.calculator().tape();
    if (tape.empty()) return Beep(w);
    std::string text;
    for (int i = 0; i < tape.count(); ++i) text += tape.line(i) + "\n";
    Clipboard().setText(Q(text));
}

void CopyLine(CommandHost& w) {
    const TapeList& tape = w.calculator().tape();
    if (tape.selected() < 0) return Beep(w);
    Clipboard().setText(Q(tape.line(tape.selected())));
}

void Paste(CommandHost& w) {
    if (!PasteNumber(w.calculator(), Clipboard().text().toStdString())) Beep(w);
}

void ShowTapeMenu(CommandHost& w);

// Menu texts are what a script's "menu" command names, without the "&".
const TapeCommand kCommands[] = {
    {{"copyDisplay", "Copy &display", "Ctrl+C",
      "copy the number on the display (a negative with an ASCII -, the empty display as 0)"},
     &CopyDisplay},
    {{"copyLine", "Copy &line", ""}, &CopyLine},
    {{"copyTape", "&Copy tape", "Ctrl+Shift+C",
      "copy the whole tape, one line per tape line, as shown"},
     &CopyTape},
    {{"pasteNumber", "&Paste number", "Ctrl+V; Shift+Ins", "paste a number"}, &Paste},
    {{"saveTape", "&Save tape\u2026", "Ctrl+S", "save the tape to a file"}, &SaveTapeFile},
    {{"openTape", "&Open tape\u2026", "Ctrl+O", "open a tape file"}, &OpenTapeFile},
    {{"exportCsv", "Export CS&V\u2026", ""}, &ExportTapeCsv},
    {{"exportPdf", "Export P&DF\u2026", ""}, &ExportTapePdf},
    {{"tapeMenu", "Tape menu", "Menu; Shift+F10", "the tape's menu"}, &ShowTapeMenu},
};

constexpr const char* kMenuRows[] = {
    "undo",     "redo",        nullptr, "copyLine",  "copyTape",  nullptr, "saveTape",
    "openTape", "restoreTape", nullptr, "exportCsv", "exportPdf", nullptr, "printTape",
};

TapeListView* TapeView(CommandHost& w) {
    return w.controls().lstTape;
}

// The menu, at a point of the tape's viewport; returns when it closes. The
// items are the window's own commands, so each runs as its keys do.
void ExecMenu(CommandHost& w, const QPoint& at) {
    TapeListView* list = TapeView(w);
    QMenu menu(&w.widget());
    menu.setObjectName(QStringLiteral("tapeMenu"));
    bool separator = false;
    for (const char* id : TapeMenuRows()) {
        if (!id) {
            separator = !menu.actions().isEmpty();
            continue;
        }
        QAction* action = w.command(QString::fromLatin1(id));
        if (!action) continue;
        if (separator) menu.addSeparator();
        separator = false;
        menu.addAction(action);
    }
    menu.exec(list->viewport()->mapToGlobal(at));
}

// The Menu key and Shift+F10: the tape's menu while the tape or the focus
// holder has the focus; any other control gets its own context menu.
void ShowTapeMenu(CommandHost& w) {
    TapeListView* list = TapeView(w);
    QWidget* focus = w.widget().focusWidget();
    if (focus && focus != list && focus != w.controls().picSetFocus && focus != &w.widget()) {
        const QPoint at = focus->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
        QCoreApplication::sendEvent(focus, &event);
        return;
    }
    const int row = w.calculator().tape().selected();
    const QRect line = row >= 0 ? list->visualRect(list->model()->index(row, 0)) : QRect();
    ExecMenu(w, line.isValid() && list->viewport()->rect().intersects(line) ? line.bottomLeft()
                                                                            : QPoint(0, 0));
}

}  // namespace

std::span<const char* const> TapeMenuRows() {
    return kMenuRows;
}

void InstallTapeCommands(CommandHost& window) {
    for (const TapeCommand& c : kCommands)
        window.AddCommand(c.def, [&window, run = c.run] { run(window); });
    TapeListView* list = TapeView(window);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, &window.widget(),
                     [&window](const QPoint& at) { ExecMenu(window, at); });
}

}  // namespace tallyroll
