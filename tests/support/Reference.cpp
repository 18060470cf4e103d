#include "tests/support/Reference.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tallyroll::reference {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// strtod on a plain decimal text; overflow reported, underflow reads as 0.
ReadResult Convert(const std::string& text) {
    errno = 0;
    const double v = std::strtod(text.c_str(), nullptr);
    if (std::isinf(v)) return {0, true};
    return {v, false};
}

// Bytes of the UTF-8 character at `at`; a byte that starts no valid
// character counts as one character.
std::size_t CharBytes(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) return 1;
    return n;
}

std::string_view FirstCharacter(std::string_view line) {
    return line.empty() ? line : line.substr(0, CharBytes(line, 0));
}

std::string_view AfterTwoCharacters(std::string_view line) {
    std::size_t at = 0;
    for (int k = 0; k < 2 && at < line.size(); ++k) at += CharBytes(line, at);
    return line.substr(at);
}

}  // namespace

std::string Format(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));  // d.dddddddddddddde±x
    std::uint64_t mantissa = 0;
    for (const char* p = buf; *p != 'e'; ++p)
        if (IsDigit(*p)) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);

    // The value in units of 10^-decimals is mantissa x 10^shift.
    const int shift = exponent - 14 + decimals;
    std::string units;
    if (shift >= 0) {
        units = mantissa == 0
                    ? "0"
                    : std::to_string(mantissa) + std::string(static_cast<std::size_t>(shift), '0');
    } else if (-shift > 15) {
        units = "0";  // mantissa < 10^15 is less than half of 10^16
    } else {
        std::uint64_t power = 1;
        for (int k = 0; k < -shift; ++k) power *= 10;
        std::uint64_t q = mantissa / power;
        if (2 * (mantissa % power) >= power) ++q;  // halves away from zero
        units = std::to_string(q);
    }
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (units.size() < width) units.insert(0, width - units.size(), '0');
    const bool zero = units.find_first_not_of('0') == std::string::npos;
    std::string out = v < 0 && !zero ? "-" : "";
    out += units.substr(0, units.size() - static_cast<std::size_t>(decimals));
    out += ".";
    out += units.substr(units.size() - static_cast<std::size_t>(decimals));
    return out;
}

ReadResult Read(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number.push_back(s[i]);
    }
    if (!digits) return {};
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string sign;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) sign = s[j++] == '-' ? "-" : "";
        long exponent = 0;
        bool any = false;
        for (; j < s.size() && IsDigit(s[j]); ++j) {
            any = true;
            exponent = std::min(exponent * 10 + (s[j] - '0'), 10000000L);
        }
        if (any) number += "e" + sign + std::to_string(exponent);
    }
    ReadResult r = Convert(number);
    if (r.overflow) r.value = 0;
    return r;
}

std::optional<double> Strict(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    const std::string core(text.substr(first, last - first + 1));
    std::size_t i = core[0] == '-' ? 1 : 0;
    const std::size_t whole = i;
    while (i < core.size() && IsDigit(core[i])) ++i;
    if (i == whole) return std::nullopt;
    if (i < core.size() && core[i] == '.')
        for (++i; i < core.size() && IsDigit(core[i]);) ++i;
    if (i != core.size()) return std::nullopt;
    const ReadResult r = Convert(core);
    const bool underflow = r.value == 0 && core.find_first_of("123456789") != std::string::npos;
    if (r.overflow || underflow) return std::nullopt;
    return r.value;
}

Recalculation Recalculate(std::vector<std::string> lines, const std::string& pattern) {
    const int decimals = PatternDecimals(pattern);
    auto format = [&](double v) { return decimals < 0 ? FormatGeneral(v) : Format(v, decimals); };
    Recalculation r;
    double& running = r.runningTotal;
    double& grand = r.grandTotal;
    // A step that divides by zero or leaves the double range is not taken.
    auto take = [&](double& target, double result, bool byZero) {
        if (byZero || !std::isfinite(result))
            ++r.faults;
        else
            target = result;
    };
    const std::string minus = "\xE2\x80\x93";
    const std::size_t n = lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::string c(FirstCharacter(lines[i]));
        if (c == "+" || c == "-" || c == minus || c == "x" || c == "/") {
            const auto v = Strict(AfterTwoCharacters(lines[i]));
            if (!v) continue;
            if (c == "+") take(running, running + *v, false);
            if (c == "-" || c == minus) take(running, running - *v, false);
            if (c == "x") take(running, running * *v, false);
            if (c == "/") take(running, *v == 0 ? 0 : running / *v, *v == 0);
        } else if (c == "=") {
            lines[i] = "= " + format(running);
            if (i + 1 < n) {
                const std::string next(FirstCharacter(lines[i + 1]));
                if (next != "*" && next != "G") lines[i] += " sub total";
            } else {
                r.display = format(running);
                r.entry = running;
            }
        } else if (c == "G") {
            take(grand, grand + running, false);
            lines[i] = "G " + format(grand);
            r.display = format(grand);
            r.entry = grand;
            grand = running = 0;
            r.grandTotalLabel = "";
        } else if (c == "*") {
            take(grand, grand + running, false);
            running = 0;
            r.grandTotalLabel = format(grand);
        }
    }
    r.lines = std::move(lines);
    return r;
}

}  // namespace tallyroll::reference
