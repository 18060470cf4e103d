#pragma once
// The printers a print run can be handed, all on Qt's painting and font
// metrics: the system's default printer, a PDF file, a recording printer for
// the script driver, and one whose every operation fails.

#include <memory>
#include <string>

#include "tape/Printer.h"
#include "window/SessionLog.h"

namespace tallyroll {

// The system's default printer (CUPS on Linux), or nothing when there is none.
std::unique_ptr<Printer> OpenDefaultPrinter();

// Writes the document to a PDF file through the same painting path.
std::unique_ptr<Printer> MakePdfPrinter(const std::string& path);

// Records every operation into log.printed as the script driver's JSON.
std::unique_ptr<Printer> MakeRecordingPrinter(SessionLog& log);

// Every operation throws PrintError.
std::unique_ptr<Printer> MakeFailingPrinter();

}  // namespace tallyroll
