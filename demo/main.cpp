// tallyroll: starts with the host window "Demo"; the program ends when its
// last window is closed, or at once through the calculator's "E&xit".
#include <QApplication>
#include <QTimer>

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
    hooks.pdfPrinter = [](const std::string& path) {
        return tallyroll::OpenPdfPrinterFromModule(path);
    };
    tallyroll::Forms forms(std::move(hooks));
    forms.demo().show();
    // tallyroll FILE.tape: the calculator opens at once with that tape.
    if (const QStringList args = QApplication::arguments(); args.size() > 1)
        QTimer::singleShot(0, &forms.demo(), [&forms, path = args.at(1)] {
            forms.demo().OpenCalculatorWithTape(path);
        });
    return QApplication::exec();
}
