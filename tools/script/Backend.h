#pragma once
// What the script driver drives: the calculator behind the headless stand-in,
// or the real window. Commands answer "" when carried out, else the reason.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Calculator.h"

namespace tallyroll {

enum class SpecialKey { Enter, Escape, Backspace, Tab, Space };

// A key pressed with modifiers: KEY is one printable character ("C", "=", "+")
// or a named key ("F2", "Up", "Home", "Menu", ...).
struct KeyChord {
    bool ctrl = false, shift = false, alt = false;
    std::string key;
};

// Reads "[Ctrl+][Shift+][Alt+]KEY"; nothing when it is not a chord.
std::optional<KeyChord> ParseKeyChord(const std::string& text);

struct Snapshot {
    struct Panel {
        bool visible = false;
        std::string from, to, type;
    };
    struct Window {
        bool shown = false, enabled = false, accepted = false;
        int left = 0, top = 0, width = 0, height = 0;
    };
    struct Host {
        bool shown = false;
        std::string value;
    };
    std::string display, op, grandTotal;
    bool memory = false;
    std::vector<std::string> tape;
    int selected = -1;
    Panel panel;
    int decimals = -1;
    std::string focus;
    CalcState state;
    std::optional<Window> window;
    bool title = false;
    std::optional<Host> host;
    bool ended = false;
    std::string clipboard;
};

// "cmdNumber(3)" for a member of a control array, else the plain name.
std::string ControlName(const std::string& name, std::optional<int> index);

class ScriptBackend {
  public:
    virtual ~ScriptBackend() = default;
    virtual std::string typeCharacter(char32_t c) = 0;
    virtual std::string typeKey(SpecialKey key) = 0;
    virtual std::string typeChord(const KeyChord& chord) = 0;
    virtual std::string click(const std::string& name, std::optional<int> index) = 0;
    virtual std::string choose(const std::string& name, int entry) = 0;
    virtual std::string select(int line) = 0;
    virtual std::string dblclick(int line) = 0;
    virtual std::string start(Currency value) = 0;
    virtual std::string deposit(std::int32_t value) = 0;
    virtual std::string close() = 0;
    // A right click on tape line N, which opens the tape's context menu.
    virtual std::string rclick(int line) = 0;
    // Picks the item of the open context menu whose text, without "&", is TEXT.
    virtual std::string menu(const std::string& text) = 0;
    // Puts text on the system clipboard, as another program would.
    virtual std::string setClipboard(const std::string& text) = 0;
    virtual Snapshot snapshot() = 0;
    // The controls dump of the active window, one JSON object.
    virtual std::string controls(std::string& json) = 0;
    virtual bool ended() const = 0;
};

}  // namespace tallyroll
