#pragma once
// Lets a screen reader hear the keys of the window's commands (F2, F9, Ctrl
// chords) as it hears every other key. Qt takes a shortcut before any key
// event exists, so the key never reaches the platform's accessibility bridge,
// which passes key events on to the screen reader. While assistive technology
// is active, a key that a command of the window would take as its shortcut
// is let through as a key press instead, and runs the command from there.
// Otherwise shortcuts work as always.

class QWidget;

namespace tallyroll {

// Watches the window and every control in it that takes the focus while
// assistive technology is active; call it once the controls and their own
// key filters are in place.
void InstallKeyEcho(QWidget& window);

}  // namespace tallyroll
