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

namespace {

// The function `name` of the module in the first of `directories` that holds
// it. Throws PrintError when the module is missing or cannot be loaded.
QFunctionPointer ResolveInModule(const QStringList& directories, const char* name) {
    QString failure;
    for (const QString& dir : directories) {
        const QString path = QDir(dir).filePath(QStringLiteral(TALLYROLL_PRINTERS_MODULE));
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: the printer's code lives in the module.
        QLibrary module(path);
        if (const QFunctionPointer f = module.resolve(name)) return f;
        failure = module.errorString();
    }
    throw PrintError(
        failure.isEmpty()
            ? std::string("the printing module " TALLYROLL_PRINTERS_MODULE " is missing")
            : "the printing module could not be loaded: " + failure.toStdString());
}

}  // namespace

std::unique_ptr<Printer> OpenDefaultPrinterFromModule(const QStringList& directories) {
    using Open = void (*)(std::unique_ptr<Printer>*);
    const auto open =
        reinterpret_cast<Open>(ResolveInModule(directories, "tallyroll_OpenDefaultPrinter"));
    std::unique_ptr<Printer> printer;
    open(&printer);
    return printer;
}

std::unique_ptr<Printer> OpenPdfPrinterFromModule(const std::string& path,
                                                  const QStringList& directories) {
    using Open = void (*)(const char*, std::unique_ptr<Printer>*);
    const auto open =
        reinterpret_cast<Open>(ResolveInModule(directories, "tallyroll_OpenPdfPrinter"));
    std::unique_ptr<Printer> printer;
    open(path.c_str(), &printer);
    return printer;
}

}  // namespace tallyroll
