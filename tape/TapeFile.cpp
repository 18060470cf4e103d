#include "tape/TapeFile.h"

#include <cstdio>

#include "tape/Recalculate.h"
#include "tape/TapeLine.h"
#include "tape/TapeList.h"

namespace tallyroll {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// Length of the valid UTF-8 sequence at `at`, or 0: no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
std::size_t Utf8Length(std::string_view s, std::size_t at) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[at + k]); };
    const unsigned char lead = b(0);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (at + len > s.size() || b(1) < lo || b(1) > hi) return 0;
    for (std::size_t k = 2; k < len; ++k)
        if ((b(k) & 0xC0) != 0x80) return 0;
    return len;
}

// "" when the line is UTF-8 without control characters, else the reason.
std::string CheckText(std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t len = Utf8Length(line, i);
        if (len == 0) {
            char what[64];
            std::snprintf(what, sizeof what, "byte 0x%02X at column %zu is not UTF-8",
                          static_cast<unsigned char>(line[i]), i + 1);
            return what;
        }
        const auto c = static_cast<unsigned char>(line[i]);
        if (len == 1 && (c < 0x20 || c == 0x7F)) {
            char what[64];
            std::snprintf(what, sizeof what, "control character 0x%02X at column %zu", c, i + 1);
            return what;
        }
        i += len;
    }
    return "";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "" when `text` is a number as the calculator writes it on the tape: the
// display format (optional "-", whole digits without a needless leading zero,
// ".", up to 6 decimals) or the general form, at most 15 significant digits,
// no "-" on zero, readable by the recalculation.
std::string CheckNumber(std::string_view text) {
    const std::string notNumber = Quoted(text) + " is not a number";
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t whole = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    const std::size_t wholeDigits = i - whole;
    std::size_t decimals = 0;
    bool point = false;
    if (i < text.size() && text[i] == '.') {
        point = true;
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++decimals;
    }
    if (wholeDigits == 0 || i != text.size()) return notNumber;
    if (!StrictNumber(text)) return Quoted(text) + " is beyond the range of numbers";

    const std::string notWritten =
        Quoted(text) + " is not written as the calculator writes numbers";
    if (wholeDigits > 1 && text[whole] == '0') return notWritten;
    // More than 6 decimals, or none after a ".", only in the general form.
    const bool general = !point || (decimals > 0 && text.back() != '0');
    if (decimals > 6 && !general) return notWritten;
    int significant = 0;
    bool nonZero = false;
    for (const char c : text) {
        if (!IsDigit(c) || (significant == 0 && c == '0')) continue;
        nonZero = true;
        if (++significant > 15 && c != '0') return notWritten;
    }
    if (text[0] == '-' && !nonZero) return notWritten;
    return "";
}

std::string AfterPrefix(std::string_view line, std::string_view prefix, std::string_view kind) {
    if (!BeginsWith(line, prefix)) return std::string(kind) + " must begin with " + Quoted(prefix);
    return CheckNumber(line.substr(prefix.size()));
}

// The operator column of a CSV row: subtraction as an ASCII "-".
std::string CsvOperator(std::string_view line, LineKind kind) {
    switch (kind) {
        case LineKind::Operator: {
            const auto c = FirstChar(line);
            return c == kMinus ? "-" : std::string(c);
        }
        case LineKind::Total:
        case LineKind::SubTotal:
            return "=";
        case LineKind::GrandTotal:
            return "G";
        case LineKind::Separator:
            return "";
        case LineKind::Other:
            break;
    }
    const auto blank = line.find(' ');
    return std::string(line.substr(0, blank));
}

std::string CsvAmount(std::string_view line, LineKind kind) {
    if (kind == LineKind::Separator) return "";
    if (kind == LineKind::SubTotal) line.remove_suffix(kSubTotalSuffix.size());
    const auto blank = line.find(' ');
    return blank == std::string_view::npos ? "" : std::string(line.substr(blank + 1));
}

const char* CsvKind(LineKind kind) {
    switch (kind) {
        case LineKind::Operator:
            return "operator";
        case LineKind::Total:
            return "total";
        case LineKind::SubTotal:
            return "sub total";
        case LineKind::GrandTotal:
            return "grand total";
        case LineKind::Separator:
            return "separator";
        case LineKind::Other:
            break;
    }
    return "changed";
}

// A field quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string Describe(const TapeFileError& error) {
    if (error.line <= 0) return error.reason;
    return "line " + std::to_string(error.line) + ": " + error.reason;
}

std::string CheckTapeFileLine(std::string_view line) {
    if (line.empty()) return "the line is empty";
    if (auto why = CheckText(line); !why.empty()) return why;
    const auto first = FirstChar(line);
    switch (ClassifyLine(line)) {
        case LineKind::Separator:
            return line == kSeparator ? "" : "a separator line is exactly 23 asterisks";
        case LineKind::GrandTotal:
            return AfterPrefix(line, "G ", "a grand total line");
        case LineKind::Total:
            return AfterPrefix(line, "= ", "a total line");
        case LineKind::SubTotal:
            return AfterPrefix(line.substr(0, line.size() - kSubTotalSuffix.size()), "= ",
                               "a sub total line");
        case LineKind::Operator:
            return AfterPrefix(line, std::string(first) + " ", "an operator line");
        case LineKind::Other:
            break;
    }
    // Lines the change panel writes with the type "1/x", or "1" when such a
    // line is changed again.
    for (const std::string_view prefix : {"1/x ", "1 "})
        if (BeginsWith(line, prefix)) return CheckNumber(line.substr(prefix.size()));
    if (first == "-")
        return "a line cannot begin with \"-\": subtraction is written with \xE2\x80\x93";
    return "not a tape line: a line begins with +, \xE2\x80\x93, x, /, =, G or *";
}

std::variant<std::vector<std::string>, TapeFileError> ReadTapeFile(std::string_view bytes) {
    if (bytes.size() > kMaxTapeFileBytes) return TapeFileError{0, "the file is larger than 4 MiB"};
    if (BeginsWith(bytes, kBom)) bytes.remove_prefix(kBom.size());
    std::vector<std::string> lines;
    int number = 0;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        if (number > TapeList::kMaxLines)
            return TapeFileError{number, "a tape holds at most 32,766 lines"};
        if (auto why = CheckTapeFileLine(line); !why.empty())
            return TapeFileError{number, std::move(why)};
        lines.emplace_back(line);
    }
    return lines;
}

std::string WriteTapeFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

std::string WriteTapeCsv(const std::vector<std::string>& lines) {
    std::string out = "kind,operator,amount,text\r\n";
    for (const std::string& line : lines) {
        const LineKind kind = ClassifyLine(line);
        out += CsvField(CsvKind(kind)) + "," + CsvField(CsvOperator(line, kind)) + "," +
               CsvField(CsvAmount(line, kind)) + "," + CsvField(line) + "\r\n";
    }
    return out;
}

}  // namespace tallyroll
