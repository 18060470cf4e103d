#pragma once
// Zoom of the calculator window: Ctrl++ (also Ctrl+=, and Ctrl+Shift++) and
// Ctrl+- step through 100 % to 300 %. Every control's place, size and font
// grow together, as if the screen had fewer twips per pixel, and the window
// is placed again by its placement rule. A step that would make the window
// larger than the work area is refused with a beep. The level lives in the
// hooks' shared zoom level, so the next calculator window opens at it.

#include <span>

namespace tallyroll {

class CommandHost;

// The zoom factors, smallest first; the first is 100 %.
std::span<const double> ZoomSteps();

// Binds the zoom keys and opens the window at the shared level.
void InstallZoomCommands(CommandHost& window);

}  // namespace tallyroll
