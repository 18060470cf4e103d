#pragma once
// CheckKeyPress: every character typed on the calculator goes to the click
// handler of its button, found in one table.

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/Calculator.h"

namespace tallyroll {

struct KeyBinding {
    std::int16_t code;                          // character code
    void (Calculator::*plain)();                // a single button...
    void (Calculator::*indexed)(std::int16_t);  // ...or a member of a control array
    std::int16_t index;
};

// Every entry except the digits, which go by code: "0" to "9" click cmdNumber(code - 48).
std::span<const KeyBinding> KeyTable();

// Runs the handler of the key, if any, and consumes it (sets it to 0). A
// handler's unhandled error is reported and the key is then left unconsumed.
void CheckKeyPress(Calculator& calc, std::int16_t& keyAscii);

// Pastes a number: text that ReadPastedNumber accepts replaces the number
// being typed, entered key by key through CheckKeyPress (then the sign key for
// a "-"), so every rule of entry applies. False, with nothing changed, for any
// other text.
bool PasteNumber(Calculator& calc, std::string_view text);

}  // namespace tallyroll
