#pragma once
// The window as assistive technology sees it: names from the table of
// AccessibleNames.h, roles for the windows, the focus holder that speaks what
// each key did (Announcer.h), labels whose names carry their values, text
// boxes, and the tape as a list of lines (TapeAccessible.h).

#include <QAccessible>

class QLabel;
class QWidget;

namespace tallyroll {

// Gives a window and its controls their names, descriptions and roles. Call
// it once the window's controls exist and have their object names.
void MakeAccessible(QWidget& window);

// The focus holder is a read-only text: the display, and after each key what
// the key did, told by its Announcer.
void SetDisplayHolder(QWidget& holder, QLabel& display);

// A label whose name carries its value (the display, the pending operator,
// the grand total, the memory sign, the line being changed) changed it.
void ValueChanged(QWidget& label);

// What the window tells goes on to the platform's accessibility bridge, or to
// `listener` instead while one is set (a test listening as a screen reader
// would). Returns the listener set before. Call it once a window exists.
QAccessible::UpdateHandler ListenInsteadOfPlatform(QAccessible::UpdateHandler listener);

}  // namespace tallyroll
