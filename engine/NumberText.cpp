#include "engine/NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tallyroll {

int PatternDecimals(std::string_view pattern) {
    if (pattern.empty()) return -1;
    const auto dot = pattern.find('.');
    if (dot == std::string_view::npos) return 0;
    int n = 0;
    for (auto c : pattern.substr(dot + 1))
        if (c == '0') ++n;
    return n;
}

std::string PatternFor(int decimals) {
    return "#0." + std::string(static_cast<std::size_t>(decimals < 0 ? 0 : decimals), '0');
}

namespace {

// The 15 significant digits of |v| and the decimal exponent of the first one.
struct Digits15 {
    std::string digits;  // exactly 15 characters
    int exponent = 0;    // value = d.dddd... x 10^exponent
};

Digits15 SignificantDigits(double magnitude) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    Digits15 d;
    const auto e = text.find('e');
    d.digits.reserve(15);
    for (auto c : text.substr(0, e))
        if (c != '.') d.digits.push_back(c);
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    d.exponent);
    return d;
}

bool AllZero(std::string_view s) {
    return s.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace

std::string FormatNumber(double v, std::string_view pattern) {
    const int n = PatternDecimals(pattern);
    if (n < 0) return FormatGeneral(v);
    if (!std::isfinite(v)) v = 0;  // callers never pass one; keep the text a number regardless

    const Digits15 d = SignificantDigits(std::fabs(v));
    // Keep the digits worth at least 10^-n: there are k of them.
    const int k = d.exponent + 1 + n;
    std::string kept;
    if (k >= 15) {
        kept = d.digits + std::string(static_cast<std::size_t>(k - 15), '0');
    } else if (k <= 0) {
        kept = (k == 0 && d.digits[0] >= '5') ? "1" : "0";
    } else {
        kept = d.digits.substr(0, static_cast<std::size_t>(k));
        if (d.digits[static_cast<std::size_t>(k)] >= '5') {
            int i = k - 1;  // half away from zero: carry up the kept digits
            while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
                kept[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                kept.insert(kept.begin(), '1');
            else
                ++kept[static_cast<std::size_t>(i)];
        }
    }
    const auto first = kept.find_first_not_of('0');
    kept = first == std::string::npos ? "0" : kept.substr(first);
    if (kept.size() < static_cast<std::size_t>(n) + 1)
        kept.insert(0, static_cast<std::size_t>(n) + 1 - kept.size(), '0');

    std::string out;
    if (v < 0 && !AllZero(kept)) out.push_back('-');
    out.append(kept, 0, kept.size() - static_cast<std::size_t>(n));
    out.push_back('.');
    out.append(kept, kept.size() - static_cast<std::size_t>(n));
    return out;
}

std::string FormatGeneral(double v) {
    if (!std::isfinite(v) || v == 0) return "0";
    Digits15 d = SignificantDigits(std::fabs(v));
    const auto last = d.digits.find_last_not_of('0');
    d.digits.resize(last + 1);
    std::string whole, frac;
    if (d.exponent >= 0) {
        const auto w = static_cast<std::size_t>(d.exponent) + 1;
        if (d.digits.size() <= w) {
            whole = d.digits + std::string(w - d.digits.size(), '0');
        } else {
            whole = d.digits.substr(0, w);
            frac = d.digits.substr(w);
        }
    } else {
        whole = "0";
        frac = std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }
    std::string out = v < 0 ? "-" : "";
    out += whole;
    if (!frac.empty()) out += "." + frac;
    return out;
}

ReadResult ReadNumber(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    std::size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && blank(text[i])) ++i;
    };
    auto digit = [&] { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };

    bool negative = false;
    skip();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    std::string mantissa;  // digits and at most one "."
    int wholeDigits = 0;   // significant digits before the point, for the overflow test
    bool anyDigit = false, point = false;
    for (;;) {
        skip();
        if (digit()) {
            anyDigit = true;
            if (!point && (wholeDigits > 0 || text[i] != '0')) ++wholeDigits;
            mantissa.push_back(text[i++]);
        } else if (!point && i < text.size() && text[i] == '.') {
            point = true;
            mantissa.push_back(text[i++]);
        } else {
            break;
        }
    }
    if (!anyDigit) return {};

    long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        auto skipAt = [&] {
            while (j < text.size() && blank(text[j])) ++j;
        };
        skipAt();
        bool expNegative = false;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) expNegative = text[j++] == '-';
        long e = 0;
        bool expDigits = false;
        for (;;) {
            skipAt();
            if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
                expDigits = true;
                if (e < 100000) e = e * 10 + (text[j] - '0');
                ++j;
            } else {
                break;
            }
        }
        if (expDigits) exponent = expNegative ? -e : e;
    }

    std::string normal = mantissa + "e" + std::to_string(exponent);
    ReadResult r;
    auto res = std::from_chars(normal.data(), normal.data() + normal.size(), r.value);
    if (res.ec == std::errc::result_out_of_range) {
        // Out of range either way: too large is an overflow, too small reads as 0.
        const bool hasValue = mantissa.find_first_of("123456789") != std::string::npos;
        long magnitude = wholeDigits + exponent;
        if (wholeDigits == 0) {
            const auto firstSig = mantissa.find_first_of("123456789");
            const auto dot = mantissa.find('.');
            if (hasValue && dot != std::string::npos)
                magnitude = exponent - static_cast<long>(firstSig - dot) + 1;
        }
        r.value = 0;
        r.overflow = hasValue && magnitude > 0;
        return r;
    }
    if (negative) r.value = -r.value;
    return r;
}

std::optional<Currency> CurrencyFromDouble(double v) {
    const double scaled = std::nearbyint(v * kCurrencyScale);  // halves to even
    if (!std::isfinite(scaled) || scaled < -9223372036854775808.0 ||
        scaled >= 9223372036854775808.0)
        return std::nullopt;
    return static_cast<Currency>(scaled);
}

double CurrencyToDouble(Currency c) {
    return static_cast<double>(c) / kCurrencyScale;
}

}  // namespace tallyroll
