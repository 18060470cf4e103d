#include "window/KeyTable.h"

#include <exception>
#include <string>

#include "engine/CalcError.h"
#include "tape/PasteText.h"

namespace tallyroll {

namespace {
using C = Calculator;
constexpr KeyBinding kKeys[] = {
    {'/', nullptr, &C::cmdOperator_Click, 0},    {'+', nullptr, &C::cmdOperator_Click, 1},
    {'*', nullptr, &C::cmdOperator_Click, 2},    {'-', nullptr, &C::cmdOperator_Click, 3},
    {13, nullptr, &C::cmdOperator_Click, 4},     {'=', nullptr, &C::cmdOperator_Click, 4},
    {'%', nullptr, &C::cmdFunction_Click, 1},    {'.', &C::cmdDecimal_Click, nullptr, 0},
    {'E', &C::cmdCancelEntry_Click, nullptr, 0}, {'e', &C::cmdCancelEntry_Click, nullptr, 0},
    {'C', &C::cmdCancel_Click, nullptr, 0},      {'c', &C::cmdCancel_Click, nullptr, 0},
    {27, &C::cmdCancel_Click, nullptr, 0},       {'S', &C::cmdSave_Click, nullptr, 0},
    {'s', &C::cmdSave_Click, nullptr, 0},        {'X', &C::cmdClose_Click, nullptr, 0},
    {'x', &C::cmdClose_Click, nullptr, 0},       {'P', &C::cmdPrint_Click, nullptr, 0},
    {'p', &C::cmdPrint_Click, nullptr, 0},       {'L', &C::cmdClear_Click, nullptr, 0},
    {'l', &C::cmdClear_Click, nullptr, 0},       {8, &C::cmdBackspace_Click, nullptr, 0},
    {'G', &C::cmdGrandTotal_Click, nullptr, 0},  {'g', &C::cmdGrandTotal_Click, nullptr, 0},
};
}  // namespace

std::span<const KeyBinding> KeyTable() {
    return kKeys;
}

void CheckKeyPress(Calculator& calc, std::int16_t& keyAscii) {
    try {
        if (keyAscii >= '0' && keyAscii <= '9') {
            calc.cmdNumber_Click(static_cast<std::int16_t>(keyAscii - '0'));
        } else {
            for (const KeyBinding& key : kKeys) {
                if (key.code != keyAscii) continue;
                if (key.plain)
                    (calc.*key.plain)();
                else
                    (calc.*key.indexed)(key.index);
                break;
            }
        }
    } catch (const CalcError& e) {
        calc.ReportError(true, std::to_string(e.number), e.description, kModuleName,
                         "CheckKeyPress");
        return;
    } catch (const std::exception& e) {
        calc.ReportError(true, "0", e.what(), kModuleName, "CheckKeyPress");
        return;
    }
    keyAscii = 0;
}

bool PasteNumber(Calculator& calc, std::string_view text) {
    const auto number = ReadPastedNumber(text);
    if (!number) return false;
    auto type = [&calc](char c) {
        auto code = static_cast<std::int16_t>(c);
        CheckKeyPress(calc, code);
    };
    // The pasted number replaces one being typed rather than extending it.
    if (calc.state().strLastInput == "NUM") type('E');
    for (const char c : number->keys) type(c);
    if (number->negative) calc.cmdNegitive_Click();
    return true;
}

}  // namespace tallyroll
