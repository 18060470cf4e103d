// window_preview [KEYS]: opens the calculator window as a host opens it, types
// KEYS into it through real key events and keeps it open until it is closed,
// so that scripts/screenshot can photograph it on a real display.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "window/FrmCalculator.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tallyroll::FrmCalculator window;
    QObject::connect(&window, &tallyroll::FrmCalculator::unloaded, &app, &QApplication::quit);
    window.SetStartValue(0);
    window.show();
    const QString keys = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTimer::singleShot(200, &window, [&window, keys] {
        for (const QChar c : keys) {
            QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
            const Qt::Key key = c == '\n' ? Qt::Key_Return : QTest::asciiToKey(c.toLatin1());
            QTest::sendKeyEvent(QTest::Click, target, key,
                                c == '\n' ? QStringLiteral("\r") : QString(c), Qt::NoModifier);
        }
    });
    return QApplication::exec();
}
