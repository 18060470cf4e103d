#pragma once
// Commands of the calculator window reached by keys that type no character
// (Ctrl chords, function keys) and by menus. Each feature lists its commands
// in a table of its own and binds each to a handler with
// CommandHost::AddCommand; no key here is one the key table routes.

namespace tallyroll {

struct CommandDef {
    const char* id;    // the command's name, also the QAction's object name
    const char* text;  // menu text, with its "&"
    const char* keys;  // shortcuts in QKeySequence's portable text, "; " between several; "" none
    // What the keys do, as the help, the manual page and docs/using.md list
    // them (window/commands/KeyGuide.*); without it they name the menu text.
    const char* help = nullptr;
};

}  // namespace tallyroll
