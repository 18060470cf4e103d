#include "window/commands/Features.h"

#include "window/KeyEcho.h"
#include "window/commands/AccessKeyCommands.h"
#include "window/commands/CommandHost.h"
#include "window/commands/HelpWindow.h"
#include "window/commands/RestoreTape.h"
#include "window/commands/TapeCommands.h"
#include "window/commands/TapeJournal.h"
#include "window/commands/UndoCommands.h"
#include "window/commands/Zoom.h"

namespace tallyroll {

WindowFeatures::WindowFeatures(CommandHost& window) {
    InstallAccessKeys(window);
    InstallTapeCommands(window);
    InstallUndoCommands(window);
    InstallZoomCommands(window);
    InstallHelpCommand(window);
    // Once every command and the controls' own key filters are in place.
    InstallKeyEcho(window.widget());
    journal_ = InstallTapeJournal(window);
}

WindowFeatures::~WindowFeatures() = default;

}  // namespace tallyroll
