// Entry of the printers module. The program loads the module on its first
// print, so that Qt's print support and CUPS (with the TLS and Kerberos
// libraries CUPS brings) are not loaded while the program starts.
#include <QtGlobal>
#include <memory>

#include "printing/Printers.h"

extern "C" Q_DECL_EXPORT void tallyroll_OpenDefaultPrinter(
    std::unique_ptr<tallyroll::Printer>* printer) {
    *printer = tallyroll::OpenDefaultPrinter();
}

extern "C" Q_DECL_EXPORT void tallyroll_OpenPdfPrinter(
    const char* path, std::unique_ptr<tallyroll::Printer>* printer) {
    *printer = tallyroll::MakePdfPrinter(path);
}
