#pragma once
// The window as assistive technology sees it: names from the table of
// AccessibleNames.h, roles for the windows, the focus holder that speaks the
// display, and the tape as a list of lines (TapeAccessible.h).

class QLabel;
class QWidget;

namespace tallyroll {

// Gives a window and its controls their names, descriptions and roles. Call
// it once the window's controls exist and have their object names.
void MakeAccessible(QWidget& window);

// The focus holder stands for the display: its description is the label's
// text. DisplayChanged tells assistive technology, once the event at hand is
// handled and only when the text differs from what it heard last.
void SetDisplayHolder(QWidget& holder, QLabel& display);
void DisplayChanged(QWidget& holder);

}  // namespace tallyroll
