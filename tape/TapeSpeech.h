#pragma once
// What a screen reader is told about the calculation, in words: a tape line
// ("+ 3.00" is "plus 3.00"), the pending operator, the display, and the one
// sentence a key, click or command leaves behind.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyroll {

// A tape line in words: "plus 3.00", "minus 2.50", "times 4.00", "divided by
// 2.00", "total 15.00", "sub total 8.00", "grand total 30.00", "end of
// calculation" for the separator, "reciprocal 4.00" for a line the change
// panel wrote with the type 1/x; any other line as it stands.
std::string SpokenLine(std::string_view line);

// The pending operator ("+", the minus character, "x", "/", "=") as a word;
// any other text as it stands.
std::string SpokenOperator(std::string_view op);

// The display: "0" for the empty display ".", "minus" for "-."; any other
// text as shown.
std::string SpokenDisplay(std::string_view display);

// What changed during one key, click or command. Empty parts are left out.
struct Announcement {
    std::optional<std::string> display = {};  // the display, as shown
    std::vector<std::string> lines = {};      // lines added to the tape, as written
    bool tapeEmptied = false;
    std::optional<std::string> grandTotal = {};  // the grand total label, as shown
    std::optional<bool> memoryInUse = {};        // the memory sign came or went
    struct Selection {
        int row = -1;  // -1: the tape is empty
        int count = 0;
        std::string line = {};
    };
    std::optional<Selection> selection = {};  // the tape line a key selected
    std::vector<std::string> notes = {};      // said as they are
};

// The lines beyond this many added by one key are counted, not read.
inline constexpr std::size_t kSpokenLinesAtMost = 4;

// One sentence, its parts in the order of the struct, joined by ", ":
// "15.00, plus 3.00, total 15.00", "line 2 of 3, plus 3.00".
std::string Compose(const Announcement& a);

}  // namespace tallyroll
