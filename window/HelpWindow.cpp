#include "window/HelpWindow.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "window/FrmCalculator.h"

#ifndef TALLYROLL_VERSION
#define TALLYROLL_VERSION "0"
#endif

namespace tallyroll {

namespace {

constexpr CommandDef kHelp{"help", "&Help", "F1"};

struct KeyHelp {
    const char* keys;
    const char* does;
};

// Every key of the calculator window, in the order a newcomer needs them.
constexpr KeyHelp kKeys[] = {
    {"0 – 9, .", "type a number"},
    {"+ &nbsp; - &nbsp; * &nbsp; /", "add, subtract, multiply, divide"},
    {"= or Enter", "total; a second = closes the calculation into the grand total"},
    {"%", "percent of the running total"},
    {"Backspace", "delete the last digit"},
    {"E", "clear entry (CE)"},
    {"C or Escape", "cancel (C); twice in a row also writes the grand total"},
    {"G", "grand total"},
    {"L", "clear the tape"},
    {"P or Ctrl+P", "print the tape"},
    {"S", "save the result and close"},
    {"X", "exit the program"},
    {"F9", "change sign (+/-)"},
    {"Ctrl+T / Ctrl+I", "square root / reciprocal (1/x)"},
    {"Ctrl+M / Ctrl+Shift+M", "memory add (M+) / subtract (M-)"},
    {"Ctrl+R / Ctrl+L", "memory recall (MR) / clear (MC)"},
    {"Ctrl+0 – Ctrl+6", "0 to 6 decimals"},
    {"Up, Down, Ctrl+Home, Ctrl+End", "move along the tape"},
    {"F2", "correct the selected tape line (Escape cancels)"},
    {"Ctrl+C / Ctrl+Shift+C", "copy the display / the tape"},
    {"Ctrl+V or Shift+Insert", "paste a number"},
    {"Ctrl+S / Ctrl+O", "save the tape to a file / open a tape file"},
    {"Ctrl+Shift+T", "restore the last tape kept, after the program ended or crashed"},
    {"Menu or Shift+F10", "the tape's menu"},
    {"Ctrl+Z", "undo the last clear, correction or opened tape"},
    {"Ctrl+Shift+Z or Ctrl+Y", "redo"},
    {"Ctrl++ or Ctrl+= / Ctrl+-", "zoom in / out (100 % to 300 %)"},
    {"F1", "this help; Escape closes it"},
};

}  // namespace

QString HelpText() {
    QString keys;
    for (const KeyHelp& k : kKeys)
        keys += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(QString::fromUtf8(k.keys), QString::fromUtf8(k.does));
    return QStringLiteral(
               "<h3>Keyboard</h3><table cellspacing=\"4\">%1</table>"
               "<p>Letters work in either case. Every button can also be clicked.</p>"
               "<h3>The tape</h3>"
               "<p>Every number goes on the tape with the operator applied to it; the "
               "operator you press applies the <i>previous</i> operator to the number "
               "you just typed: 12 + 3 = writes + 12.00, + 3.00 and = 15.00. A second = "
               "closes the calculation: its total goes into the grand total under the "
               "keypad, and a line of asterisks ends it on the tape.</p>"
               "<p>Double-click a number on the tape to correct it: type the new "
               "number, pick the operator and press Enter. Every total on the tape is "
               "worked out again. Ctrl+Z takes back a correction or a clear of the "
               "tape (up to 50 of them); Ctrl+Shift+Z does it again.</p>"
               "<h3>About</h3>"
               "<p><b>tallyroll</b> %2 &mdash; an adding machine with a paper tape.<br>"
               "Licence: MIT.</p>")
        .arg(keys, QStringLiteral(TALLYROLL_VERSION));
}

HelpWindow::HelpWindow(FrmCalculator& calculator)
    : QWidget(&calculator, Qt::Window), calculator_(calculator) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Calculator Help"));
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("txtHelp"));
    text->setHtml(HelpText());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    const QFontMetrics m(font());
    resize(m.averageCharWidth() * 64, m.height() * 32);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous() || !calculator_.isVisible()) return;
    calculator_.activateWindow();
    if (QWidget* focus = calculator_.control(QStringLiteral("picSetFocus")))
        focus->setFocus(Qt::OtherFocusReason);
}

void InstallHelpCommand(FrmCalculator& window) {
    window.AddCommand(kHelp, [&window] {
        auto* help = window.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help) {
            help = new HelpWindow(window);
            // Beside the calculator, on the side with room for it.
            const QRect frame = window.frameGeometry();
            const QRect screen = window.screen() ? window.screen()->availableGeometry() : QRect();
            const bool right = frame.right() + help->width() <= screen.right();
            help->move(
                right ? frame.right() + 1 : std::max(screen.left(), frame.left() - help->width()),
                frame.top());
        }
        help->show();
        help->raise();
        help->activateWindow();
    });
}

}  // namespace tallyroll
