// tallyroll: starts with the host window "Demo" (with --calculator, the
// calculator alone); the program ends when its last window is closed, or at
// once through the calculator's "E&xit".
#include <QApplication>
#include <QTimer>

#include "demo/CalculatorAlone.h"
#include "demo/CommandLine.h"
#include "demo/Forms.h"
#include "demo/PrinterModule.h"
#include "demo/Version.h"
#include "demo/frmDemo.h"
#include "window/AppIcon.h"
#include "window/commands/TapeJournal.h"

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("tallyroll"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLYROLL_VERSION));
    const tallyroll::CommandLine commandLine(tallyroll::ArgumentsOf(argc, argv));
    if (commandLine.exitStatus()) return commandLine.Finish();
    const std::unique_ptr<QApplication> app = tallyroll::OpenApplication(commandLine, argc, argv);
    // Lets desktops match the windows with the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tallyroll"));
    // Every window of the program carries its icon: Demo, the title, the
    // calculator, its help and the message boxes.
    QGuiApplication::setWindowIcon(tallyroll::AppIcon());

    tallyroll::CalculatorHooks hooks;
    hooks.defaultPrinter = [] { return tallyroll::OpenDefaultPrinterFromModule(); };
    hooks.pdfPrinter = [](const std::string& path) {
        return tallyroll::OpenPdfPrinterFromModule(path);
    };
    // Every calculator window keeps its tape in the state folder (--no-journal: none).
    hooks.journal = std::make_shared<tallyroll::JournalFolder>(
        tallyroll::JournalFolder::DefaultPath(), !commandLine.isSet(QStringLiteral("no-journal")));
    const bool restore = commandLine.isSet(QStringLiteral("restore"));
    if (restore) hooks.journal->restoreAtFirstShow();
    tallyroll::Forms forms(std::move(hooks));
    // tallyroll FILE.tape: the calculator opens at once with that tape.
    const QStringList files = commandLine.positionalArguments();
    const QString tapeFile = files.isEmpty() ? QString() : files.front();
    // --calculator: the calculator alone; the program ends when it closes.
    if (commandLine.isSet(QStringLiteral("calculator")))
        return tallyroll::RunCalculatorAlone(forms, tapeFile);
    forms.demo().show();
    if (!tapeFile.isEmpty())
        QTimer::singleShot(0, &forms.demo(),
                           [&forms, tapeFile] { forms.demo().OpenCalculatorWithTape(tapeFile); });
    // --restore: the calculator opens at once on the newest kept tape.
    if (restore) QTimer::singleShot(0, &forms.demo(), [&forms] { forms.demo().cmdCalc_Click(); });
    return QApplication::exec();
}
