#pragma once
// What assistive technology calls each control and window: a name a listener
// understands and a short description, kept apart from the captions and tool
// tips of the window definitions, which stay as they are.

#include <span>

class QWidget;

namespace tallyroll {

struct AccessibleNameDef {
    const char* window;   // objectName of the window
    const char* control;  // objectName of the control; nullptr: the window itself
    int index;            // Index within a control array, -1 outside arrays
    const char* name;
    const char* description;
};

std::span<const AccessibleNameDef> AccessibleNames();

// Gives the window and its controls their names and descriptions from the
// table. Called once the window's controls exist.
void ApplyAccessibleNames(QWidget& window);

}  // namespace tallyroll
