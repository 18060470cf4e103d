#pragma once
// The commands of the access keys (window/AccessKeys.h): each works its
// control as the mouse does.

namespace tallyroll {

class CommandHost;

// Adds every command of the access key table to the window.
void InstallAccessKeys(CommandHost& window);

}  // namespace tallyroll
