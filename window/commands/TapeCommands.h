#pragma once
// The clipboard and the tape's context menu: copy the display, a line or the
// whole tape, paste a number, and the menu that also saves, opens, exports
// and prints the tape.

#include <span>

namespace tallyroll {

class CommandHost;

// The ids of the context menu's items in order; null stands for a separator.
// An id without a command in the window is left out.
std::span<const char* const> TapeMenuRows();

// Adds the commands to the window with their keys, and the context menu to
// its tape list.
void InstallTapeCommands(CommandHost& window);

}  // namespace tallyroll
