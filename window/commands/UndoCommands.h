#pragma once
// Undo and redo in the calculator window: Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y.
// The commands' texts name the step they would take ("Undo Clear tape").

namespace tallyroll {

class CommandHost;

void InstallUndoCommands(CommandHost& window);

}  // namespace tallyroll
