#pragma once
// The keyboard beyond the key table, all on keys that type no character:
// commands for the buttons no character reaches (sign, memory, square root,
// reciprocal, decimals, print, changing a tape line), and the routing of
// arrow keys, Escape and Ctrl/Alt chords before the key table sees them.

#include <Qt>
#include <span>

#include "tape/TapeMove.h"
#include "window/Commands.h"

class QKeyEvent;
class QObject;

namespace tallyroll {

class Calculator;
struct ViewControls;

struct AccessKeyDef {
    CommandDef command;
    const char* control;  // the control the command works: a button, cboDecPlace, lstTape
    int index;            // Index of an array member; the entry of cboDecPlace; else -1
};

std::span<const AccessKeyDef> AccessKeys();

// The keys that move the tape's selection while typing goes to the calculator.
struct MoveKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    TapeMove move;
};
std::span<const MoveKey> MoveKeys();

// What becomes of a key pressed on `target` before the key table sees it.
enum class KeyRoute {
    KeyTable,  // not one of these keys: on to the key table as before
    Done,      // handled here, or a chord no command took: consumed
    Control,   // left to the control's own handling, never the key table
};
KeyRoute RouteAccessKey(Calculator& calc, const ViewControls& controls, const QObject* target,
                        const QKeyEvent& key);

// A character typed with Ctrl or Alt held (on X11 Ctrl+9 types "9"): never
// one for the key table.
bool IsChordCharacter(const QKeyEvent& key);

}  // namespace tallyroll
