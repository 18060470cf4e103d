#pragma once
// What the creator of a calculator window supplies: the platform services the
// window uses. Every member may be left empty; the comment says what the
// window then uses.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/CalculatorView.h"
#include "tape/Printer.h"
#include "window/Dialogs.h"
#include "window/Placement.h"

namespace tallyroll {

class JournalFolder;

struct CalculatorHooks {
    std::function<LocalDateTime()> now;  // the system clock
    // Shows the title window modally; called by the load on every fifth day.
    std::function<void()> showTitle;                           // no title window
    std::function<std::unique_ptr<Printer>()> defaultPrinter;  // no printer
    // A printer writing a PDF file at the path, for the PDF export.
    std::function<std::unique_ptr<Printer>(const std::string&)> pdfPrinter;  // none
    std::shared_ptr<Dialogs> dialogs;                                        // Qt's own boxes
    std::function<void()> beep;                                              // QApplication::beep
    std::optional<WorkAreaPixels> workArea;  // the screen's available geometry
    // Twips per pixel; 1440 / the screen's logical DPI when not given.
    std::optional<double> twipsPerPixelX, twipsPerPixelY;
    // Ends the program at once: no unload handlers, the host never resumes.
    std::function<void()> endProgram;  // std::quick_exit(0)
    // The zoom level, shared by every calculator window of one run.
    std::shared_ptr<int> zoomLevel;  // a level of the window's own, from 100 %
    // Where the tapes of the run are kept (window/commands/TapeJournal.h).
    std::shared_ptr<JournalFolder> journal;  // no journal and no "Restore last tape"
};

}  // namespace tallyroll
