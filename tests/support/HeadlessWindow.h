#pragma once
// A whole calculator behind the headless view, loaded and activated as a
// window is when it opens, with keys typed through the key table.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "window/KeyTable.h"
#include "window/SessionLog.h"

namespace tallyroll::test {

struct HeadlessWindow {
    SessionLog log;
    HeadlessView view{&log};
    Calculator calc{view};
    HeadlessWindow() {
        calc.SetStartValue(0);
        calc.Form_Activate();
    }
    void keys(std::string_view s) {
        for (char c : s) {
            std::int16_t code = static_cast<unsigned char>(c);
            CheckKeyPress(calc, code);
        }
    }
    std::vector<std::string> tape() const { return calc.tape().lines(); }
};

}  // namespace tallyroll::test
