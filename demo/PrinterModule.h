#pragma once
// The system's default printer, reached through the printers module that the
// program loads on its first print rather than at start-up.

#include <QStringList>
#include <memory>
#include <string>

#include "tape/Printer.h"

namespace tallyroll {

// Where the program looks for the module: its own directory (a build tree),
// then the library directory it is installed with.
QStringList PrinterModuleDirectories();

// Loads the module from the first of `directories` that holds it and opens
// the default printer through it: nothing when there is none. Throws
// PrintError when the module is missing or cannot be loaded, so the print run
// reports it.
std::unique_ptr<Printer> OpenDefaultPrinterFromModule(
    const QStringList& directories = PrinterModuleDirectories());

// A printer writing a PDF file at `path`, through the same module.
std::unique_ptr<Printer> OpenPdfPrinterFromModule(
    const std::string& path, const QStringList& directories = PrinterModuleDirectories());

}  // namespace tallyroll
