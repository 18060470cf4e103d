// The three windows side by side for the accessibility test: the Demo window,
// the title window and a calculator, shown without modality so that an
// AT-SPI client can look at all of them; the calculator is active, so typed
// keys reach it. Ends by itself after two minutes.
#include <QApplication>
#include <QTimer>

#include "demo/Form1.h"
#include "demo/Forms.h"
#include "demo/frmDemo.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallyroll-atspi-target"));
    tallyroll::CalculatorHooks hooks;
    // A day that shows no title window while the calculator loads.
    hooks.now = [] { return tallyroll::LocalDateTime{2024, 3, 4, 9, 30}; };
    tallyroll::Forms forms(hooks);

    forms.demo().show();
    // Modal when the calculator shows it; here it must not block the others.
    forms.title().setWindowModality(Qt::NonModal);
    forms.title().move(0, 0);
    forms.title().show();
    tallyroll::FrmCalculator& calc = forms.calculator();
    calc.SetStartValue(0);
    calc.show();
    calc.raise();
    calc.activateWindow();
    QTimer::singleShot(120'000, &app, &QApplication::quit);
    return QApplication::exec();
}
