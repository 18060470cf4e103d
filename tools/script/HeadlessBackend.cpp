#include "tools/script/HeadlessBackend.h"

#include <array>
#include <string_view>

#include "window/KeyTable.h"

namespace tallyroll {

namespace {

struct ButtonHandler {
    std::string_view name;
    int lastIndex;  // -1 for a single button, else the array's highest Index
    void (Calculator::*plain)();
    void (Calculator::*indexed)(std::int16_t);
    bool onPanel;
};

using C = Calculator;
constexpr ButtonHandler kButtons[] = {
    {"cmdNumber", 9, nullptr, &C::cmdNumber_Click, false},
    {"cmdOperator", 4, nullptr, &C::cmdOperator_Click, false},
    {"cmdFunction", 2, nullptr, &C::cmdFunction_Click, false},
    {"cmdMemory", 3, nullptr, &C::cmdMemory_Click, false},
    {"cmdDecimal", -1, &C::cmdDecimal_Click, nullptr, false},
    {"cmdBackspace", -1, &C::cmdBackspace_Click, nullptr, false},
    {"cmdNegitive", -1, &C::cmdNegitive_Click, nullptr, false},
    {"cmdCancelEntry", -1, &C::cmdCancelEntry_Click, nullptr, false},
    {"cmdCancel", -1, &C::cmdCancel_Click, nullptr, false},
    {"cmdGrandTotal", -1, &C::cmdGrandTotal_Click, nullptr, false},
    {"cmdClear", -1, &C::cmdClear_Click, nullptr, false},
    {"cmdPrint", -1, &C::cmdPrint_Click, nullptr, false},
    {"cmdClose", -1, &C::cmdClose_Click, nullptr, false},
    {"cmdSaveChange", -1, &C::cmdSaveChange_Click, nullptr, true},
    {"cmdCancelChange", -1, &C::cmdCancelChange_Click, nullptr, true},
};

// What the window's driver answers once "S" has hidden the calculator.
constexpr const char* kNoWindow = "no window is shown";

const std::array<const char*, 5> kTypeEntries = {"+", "-", "/", "x", "1/x"};

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        s.push_back(static_cast<char>(0xC0 | (c >> 6)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        s.push_back(static_cast<char>(0xE0 | (c >> 12)));
        s.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        s.push_back(static_cast<char>(0xF0 | (c >> 18)));
        s.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return s;
}

}  // namespace

HeadlessBackend::HeadlessBackend(SessionLog& log, LocalDateTime now) : view_(&log), calc_(view_) {
    view_.clock = now;
    calc_.SetStartValue(0);
    calc_.Form_Activate();
}

std::string HeadlessBackend::typeCharacter(char32_t c) {
    if (view_.hidden) return "";  // "S" hid the window: no window takes the key
    const std::string& focus = view_.focus;
    if (focus == "picSetFocus" || focus == "lstTape") {
        // Characters outside the 16-bit range match no key and are consumed.
        std::int16_t code = c < 0x8000 ? static_cast<std::int16_t>(c) : 0;
        CheckKeyPress(calc_, code);
    } else if (c == 27 && view_.panelVisible && focus == "txtChangeTo") {
        calc_.cmdCancelChange_Click();  // Escape in the change panel is its "Cancel"
    } else if (focus == "txtChangeTo") {
        std::int16_t code = c < 0x8000 ? static_cast<std::int16_t>(c) : 0;
        calc_.txtChangeTo_KeyPress(code);
        if (code == 8)
            view_.backspaceInChangeTo();
        else if (code >= 32 || c >= 0x8000)
            view_.typeIntoChangeTo(Utf8(c));
    } else if (c == ' ' && focus == ControlName(lastClick_, lastClickIndex_)) {
        // A focused button takes the space bar as a click; nothing else reaches it.
        return click(lastClick_, lastClickIndex_);
    }
    return "";
}

std::string HeadlessBackend::typeKey(SpecialKey key) {
    switch (key) {
        case SpecialKey::Enter:
            return typeCharacter(13);
        case SpecialKey::Escape:
            return typeCharacter(27);
        case SpecialKey::Backspace:
            return typeCharacter(8);
        case SpecialKey::Space:
            return typeCharacter(' ');
        case SpecialKey::Tab:
            break;
    }
    return "key Tab needs the window";
}

std::string HeadlessBackend::click(const std::string& name, std::optional<int> index) {
    if (view_.hidden) return kNoWindow;
    for (const ButtonHandler& b : kButtons) {
        if (b.name != name) continue;
        if ((b.lastIndex < 0) != !index.has_value() ||
            (index && (*index < 0 || *index > b.lastIndex)))
            return "no control " + ControlName(name, index);
        if (b.onPanel && !view_.panelVisible) return name + " is hidden";
        if (!view_.enabled) return "the window is disabled";
        lastClick_ = name;
        lastClickIndex_ = index;
        view_.focus = ControlName(name, index);
        if (b.plain)
            (calc_.*b.plain)();
        else
            (calc_.*b.indexed)(static_cast<std::int16_t>(*index));
        return "";
    }
    if (name == "cmdSave") return "cmdSave is hidden";
    return "no button " + name;
}

std::string HeadlessBackend::choose(const std::string& name, int entry) {
    if (view_.hidden) return kNoWindow;
    if (name == "cboDecPlace") {
        if (entry < 0 || entry > 6) return "cboDecPlace has no entry " + std::to_string(entry);
        view_.setDecimalSelection(entry);
        calc_.cboDecPlace_Click(entry);
        return "";
    }
    if (name == "cboType") {
        if (!view_.panelVisible) return "cboType is hidden";
        if (entry < 0 || entry >= static_cast<int>(kTypeEntries.size()))
            return "cboType has no entry " + std::to_string(entry);
        view_.changeTypeText = kTypeEntries[static_cast<std::size_t>(entry)];
        // As in the window: the click on the list takes the focus from the
        // new-number box (its selection goes), and the closed list hands it
        // back, the caret at the end of the text.
        view_.changeToAllSelected = false;
        view_.focus = "txtChangeTo";
        return "";
    }
    return "no list " + name;
}

std::string HeadlessBackend::select(int line) {
    if (view_.hidden) return kNoWindow;
    if (line < 0 || line >= calc_.tape().count()) return "no tape line " + std::to_string(line);
    view_.focus = "lstTape";
    calc_.selectTapeLine(line);
    calc_.lstTape_Click();
    return "";
}

std::string HeadlessBackend::dblclick(int line) {
    if (auto err = select(line); !err.empty()) return err;
    // The window's toolkit gives the list the focus on the double click
    // itself, after the click handler parked it: a line that cannot be
    // changed leaves the focus on the tape.
    view_.focus = "lstTape";
    calc_.lstTape_DblClick();
    return "";
}

std::string HeadlessBackend::start(Currency value) {
    calc_.SetStartValue(value);
    return "";
}

std::string HeadlessBackend::deposit(std::int32_t value) {
    calc_.DepositNumber(value);
    return "";
}

Snapshot HeadlessBackend::snapshot() {
    Snapshot s;
    s.display = view_.result;
    s.op = view_.operatorText;
    s.grandTotal = view_.grandTotal;
    s.memory = view_.memoryVisible;
    const TapeList& tape = calc_.tape();
    s.tape.reserve(static_cast<std::size_t>(tape.count()));
    for (int i = 0; i < tape.count(); ++i) s.tape.push_back(tape.line(i));
    s.selected = tape.selected();
    s.panel = {view_.panelVisible, view_.changeFrom, view_.changeToText, view_.changeTypeText};
    s.decimals = view_.decimalSelection;
    s.focus = view_.hidden || view_.ended ? "" : view_.focus;
    s.state = calc_.state();
    s.ended = view_.ended;
    return s;
}

}  // namespace tallyroll
