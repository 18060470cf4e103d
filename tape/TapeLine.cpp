#include "tape/TapeLine.h"

namespace tallyroll {

namespace {
std::size_t CharLength(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    std::size_t len = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (at + len > s.size()) return 1;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) return 1;
    return len;
}
}  // namespace

std::string_view FirstChar(std::string_view line) {
    if (line.empty()) return {};
    return line.substr(0, CharLength(line, 0));
}

std::string_view FromChar(std::string_view line, int n) {
    std::size_t at = 0;
    for (int k = 1; k < n && at < line.size(); ++k) at += CharLength(line, at);
    return line.substr(at);
}

LineKind ClassifyLine(std::string_view line) {
    const auto c = FirstChar(line);
    if (c == "*") return LineKind::Separator;
    if (c == "G") return LineKind::GrandTotal;
    if (c == "+" || c == "x" || c == "/" || c == kMinus) return LineKind::Operator;
    if (c == "=") {
        const bool sub = line.size() >= kSubTotalSuffix.size() &&
                         line.substr(line.size() - kSubTotalSuffix.size()) == kSubTotalSuffix;
        return sub ? LineKind::SubTotal : LineKind::Total;
    }
    return LineKind::Other;
}

bool CanChangeLine(std::string_view line) {
    const auto c = FirstChar(line);
    return !line.empty() && c != "*" && c != "G" && c != "=";
}

}  // namespace tallyroll
