#include "window/commands/HelpWindow.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Calculator.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"
#include "window/commands/KeyGuide.h"

#ifndef TALLYROLL_VERSION
#define TALLYROLL_VERSION "0"
#endif

namespace tallyroll {

namespace {

constexpr CommandDef kHelp{"help", "&Help", "F1", "this help (Escape closes it)"};

}  // namespace

QString HelpText(const QWidget& window) {
    // The keyboard map comes from the window's own key and command tables.
    const auto bold = [](const QString& key) {
        return QStringLiteral("<b>%1</b>").arg(key.toHtmlEscaped());
    };
    QString keys;
    bool typed = true;
    for (const KeyGuideRow& row : KeyGuide(window)) {
        if (typed && !row.typed)
            keys += QStringLiteral(
                "<tr><td colspan=\"2\"><i>Keys without a character of their own:</i></td></tr>");
        typed = row.typed;
        keys += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(KeysText(row, bold), row.does.toHtmlEscaped());
    }
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
               "<p>The tape is kept as it changes: after the program ended or crashed, "
               "Ctrl+Shift+T (Restore last tape in the tape's menu) brings it back.</p>"
               "<h3>About</h3>"
               "<p><b>tallyroll</b> %2 &mdash; an adding machine with a paper tape.<br>"
               "Copyright 2026 The tallyroll developers. Licence: MIT.</p>")
        .arg(keys, QStringLiteral(TALLYROLL_VERSION));
}

HelpWindow::HelpWindow(CommandHost& calculator)
    : QWidget(&calculator.widget(), Qt::Window), calculator_(calculator) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Calculator Help"));
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("txtHelp"));
    text->setHtml(HelpText(calculator.widget()));
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
    if (event->spontaneous() || !calculator_.widget().isVisible()) return;
    calculator_.widget().activateWindow();
    calculator_.controls().picSetFocus->setFocus(Qt::OtherFocusReason);
}

void InstallHelpCommand(CommandHost& host) {
    host.AddCommand(kHelp, [&host] {
        QWidget& window = host.widget();
        auto* help = window.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help) {
            help = new HelpWindow(host);
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
