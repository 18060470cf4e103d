// tallyroll: starts with the host window "Demo" (with --calculator, the
// calculator alone); the program ends when its last window is closed, or at
// once through the calculator's "E&xit".
#include <QApplication>

#include "demo/CalculatorAlone.h"
#include "demo/Forms.h"
#include "demo/PrinterModule.h"
#include "demo/frmDemo.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallyroll"));
    // Lets desktops match the windows with the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tallyroll"));

    tallyroll::CalculatorHooks hooks;
    hooks.defaultPrinter = [] { return tallyroll::OpenDefaultPrinterFromModule(); };
    tallyroll::Forms forms(std::move(hooks));
    // --calculator: the calculator alone; the program ends when it closes.
    if (tallyroll::WantsCalculatorAlone(argc, argv)) return tallyroll::RunCalculatorAlone(forms);
    forms.demo().show();
    return QApplication::exec();
}
