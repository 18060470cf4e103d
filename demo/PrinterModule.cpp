#include "demo/PrinterModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace tallyroll {

QStringList PrinterModuleDirectories() {
    const QString own = QCoreApplication::applicationDirPath();
    return {own, QDir(own).filePath(QStringLiteral(TALLYROLL_PRINTERS_INSTALL_DIR))};
}

std::unique_ptr<Printer> OpenDefaultPrinterFromModule(const QStringList& directories) {
    using Open = void (*)(std::unique_ptr<Printer>*);
    QString failure;
    for (const QString& dir : directories) {
        const QString path = QDir(dir).filePath(QStringLiteral(TALLYROLL_PRINTERS_MODULE));
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: the printer's code lives in the module.
        QLibrary module(path);
        if (const auto open =
                reinterpret_cast<Open>(module.resolve("tallyroll_OpenDefaultPrinter"))) {
            std::unique_ptr<Printer> printer;
            open(&printer);
            return printer;
        }
        failure = module.errorString();
    }
    throw PrintError(
        failure.isEmpty()
            ? std::string("the printing module " TALLYROLL_PRINTERS_MODULE " is missing")
            : "the printing module could not be loaded: " + failure.toStdString());
}

}  // namespace tallyroll
