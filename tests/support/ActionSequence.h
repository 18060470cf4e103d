#pragma once
// Plays a string of bytes as a session of a person at the calculator window:
// each byte chooses one action (a typed key, a click, a decimal-places choice,
// a start value, a tape selection, an edit in the change panel, a print on a
// printer that may fail), run through the same handlers the window runs, with
// the invariants checked after every action. The fuzz target and the property
// tests share it.

#include <cstdint>
#include <span>
#include <string>

namespace tallyroll {

struct SequenceOutcome {
    std::string failure;  // "" when every action kept every invariant
    int actions = 0;      // actions run
    bool ended = false;   // "E&xit" or "X" ended the program
    std::string trace;    // the actions as script lines, when asked for
};

// Runs the session the bytes describe, stopping at the first violation or
// when the program ends. With `trace`, the actions are written down as
// tallyroll-script commands (comments where the driver has none).
SequenceOutcome RunActionSequence(std::span<const std::uint8_t> bytes, bool trace = false);

}  // namespace tallyroll
