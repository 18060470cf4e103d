#include "window/commands/Zoom.h"

#include <algorithm>

#include "engine/Calculator.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"

namespace tallyroll {

namespace {

constexpr double kSteps[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

// Ctrl with the "+" key. Where "+" needs Shift (a US keyboard), X11 and
// Wayland report Ctrl+Shift++ and match it to Ctrl++ and to Ctrl+Shift+= both,
// so binding both made the key ambiguous. Ctrl+Shift++ is what the script
// driver (and platforms without that matching) deliver for the same keys.
constexpr CommandDef kZoomIn{"zoomIn", "Zoom &In", "Ctrl++; Ctrl+=; Ctrl+Shift++",
                             "zoom in (100 % to 300 %)"};
constexpr CommandDef kZoomOut{"zoomOut", "Zoom &Out", "Ctrl+-", "zoom out"};

int Clamp(int step) {
    return std::clamp(step, 0, static_cast<int>(std::size(kSteps)) - 1);
}

// Moves the shared level one step; refused (a beep) past either end or when
// the window would not fit the work area at the new level.
void Step(CommandHost& window, int delta) {
    int& level = window.zoomLevel();
    const int next = Clamp(level + delta);
    if (next == level || !window.FitsWorkArea(kSteps[next])) {
        window.view().beep();
        return;
    }
    level = next;
    window.SetZoom(kSteps[next]);
}

}  // namespace

std::span<const double> ZoomSteps() {
    return kSteps;
}

void InstallZoomCommands(CommandHost& window) {
    window.AddCommand(kZoomIn, [&window] { Step(window, +1); });
    window.AddCommand(kZoomOut, [&window] { Step(window, -1); });
    int& level = window.zoomLevel();
    level = Clamp(level);
    if (level != 0) window.SetZoom(kSteps[level]);
}

}  // namespace tallyroll
