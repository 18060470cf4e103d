#include "tape/PasteText.h"

#include "tape/Recalculate.h"

namespace tallyroll {

std::string CopiedNumber(std::string_view display) {
    if (display.ends_with('.')) display.remove_suffix(1);
    if (display.empty() || display == "-") return "0";
    return std::string(display);
}

std::optional<PastedNumber> ReadPastedNumber(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);

    PastedNumber out;
    if (text[0] == '-' || text[0] == '+') {
        out.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    bool digit = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    // The recalculation's reading takes "5." but not ".5": give it a whole digit.
    const std::string whole = text[0] == '.' ? "0" + std::string(text) : std::string(text);
    if (!StrictNumber(whole)) return std::nullopt;  // beyond the double range
    out.keys = std::string(text);
    return out;
}

}  // namespace tallyroll
