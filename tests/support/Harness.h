#pragma once
// A calculator behind the headless stand-in, opened as the host opens it
// (start value 0, activated, two decimals), driven by a compact key string.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tape/TapeLine.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"

namespace tallyroll::test {

inline const std::string M(kMinus);        // the subtraction operator on the tape
inline const std::string SEP(kSeparator);  // the separator line

struct Session {
    SessionLog log;
    HeadlessView view{&log};
    Calculator calc{view};
    bool checkEveryStep = true;  // off for tests that type tens of thousands of keys

    Session() {
        calc.SetStartValue(0);
        calc.Form_Activate();
    }

    // Typed characters go through CheckKeyPress; mouse-only buttons are named
    // in braces: {neg} {sqr} {pct} {inv} {M+} {M-} {MR} {MC} {G}.
    void keys(std::string_view s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '{') {
                const auto end = s.find('}', i);
                click(s.substr(i + 1, end - i - 1));
                i = end;
                continue;
            }
            std::int16_t code = static_cast<unsigned char>(s[i]);
            CheckKeyPress(calc, code);
            EXPECT_EQ(code, 0) << "key " << s[i] << " not consumed";
            checkInvariants(s.substr(0, i + 1));
        }
    }

    // Every step keeps what must always hold (tape grammar, display forms,
    // finite members, a stable recalculation).
    void checkInvariants(std::string_view after) const {
        if (checkEveryStep) {
            EXPECT_EQ(CheckInvariants(calc, view), "") << "after " << after;
        }
    }

    void click(std::string_view name) {
        if (name == "neg")
            calc.cmdNegitive_Click();
        else if (name == "sqr")
            calc.cmdFunction_Click(0);
        else if (name == "pct")
            calc.cmdFunction_Click(1);
        else if (name == "inv")
            calc.cmdFunction_Click(2);
        else if (name == "M+")
            calc.cmdMemory_Click(0);
        else if (name == "M-")
            calc.cmdMemory_Click(1);
        else if (name == "MR")
            calc.cmdMemory_Click(2);
        else if (name == "MC")
            calc.cmdMemory_Click(3);
        else if (name == "G")
            calc.cmdGrandTotal_Click();
        else
            ADD_FAILURE() << "unknown button " << name;
        checkInvariants(name);
    }

    // Opens the change panel on a line, types a new number and a type, saves.
    void change(int line, std::string_view number, std::string_view type) {
        calc.selectTapeLine(line);
        calc.lstTape_DblClick();
        ASSERT_TRUE(view.panelVisible) << "panel did not open on line " << line;
        view.setChangeTo(std::string(number));
        view.setChangeType(std::string(type));
        calc.cmdSaveChange_Click();
        checkInvariants("a change");
    }

    std::vector<std::string> tape() const {
        std::vector<std::string> lines;
        for (int i = 0; i < calc.tape().count(); ++i) lines.push_back(calc.tape().line(i));
        return lines;
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : log.messages) out.push_back(m.text);
        return out;
    }

    const CalcState& st() const { return calc.state(); }
};

using Lines = std::vector<std::string>;

// Prints a table row by its name in test listings.
template <typename Row>
requires requires(const Row& r) {
    std::string_view(r.name);
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

// Names the rows of a table-driven test after their "name" field.
struct RowName {
    template <typename Param>
    std::string operator()(const testing::TestParamInfo<Param>& info) const {
        return info.param.name;
    }
};

}  // namespace tallyroll::test
