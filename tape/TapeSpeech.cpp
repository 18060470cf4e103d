#include "tape/TapeSpeech.h"

#include "tape/TapeLine.h"

namespace tallyroll {

namespace {

struct Word {
    std::string_view symbol;
    std::string_view word;
};

// The operators as the tape and the operator label write them; "-" is how a
// hand-typed or changed line may write a subtraction.
constexpr Word kOperators[] = {
    {"+", "plus"},  {kMinus, "minus"},   {"-", "minus"},
    {"x", "times"}, {"/", "divided by"}, {"=", "equals"},
};

constexpr std::string_view kReciprocalType = "1/x ";

std::string Join(std::string_view a, std::string_view b) {
    std::string s(a);
    if (!b.empty()) s.append(" ").append(b);
    return s;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string SpokenOperator(std::string_view op) {
    for (const Word& w : kOperators)
        if (op == w.symbol) return std::string(w.word);
    return std::string(op);
}

std::string SpokenLine(std::string_view line) {
    const std::string_view number = FromChar(line, 3);
    switch (ClassifyLine(line)) {
        case LineKind::Separator:
            return "end of calculation";
        case LineKind::GrandTotal:
            return Join("grand total", number);
        case LineKind::Total:
            return Join("total", number);
        case LineKind::SubTotal:
            return Join("sub total", number.substr(0, number.size() - kSubTotalSuffix.size()));
        case LineKind::Operator:
            return Join(SpokenOperator(FirstChar(line)), number);
        case LineKind::Other:
            break;
    }
    if (BeginsWith(line, kReciprocalType))
        return Join("reciprocal", line.substr(kReciprocalType.size()));
    if (BeginsWith(line, "- ")) return Join("minus", number);
    return std::string(line);
}

std::string SpokenDisplay(std::string_view display) {
    if (display == ".") return "0";
    if (display == "-.") return "minus";
    return std::string(display);
}

std::string Compose(const Announcement& a) {
    std::string out;
    auto add = [&out](std::string_view part) {
        if (part.empty()) return;
        if (!out.empty()) out += ", ";
        out += part;
    };
    if (a.display) add(SpokenDisplay(*a.display));
    for (std::size_t i = 0; i < a.lines.size() && i < kSpokenLinesAtMost; ++i)
        add(SpokenLine(a.lines[i]));
    if (a.lines.size() > kSpokenLinesAtMost)
        add("and " + std::to_string(a.lines.size() - kSpokenLinesAtMost) + " more lines");
    if (a.tapeEmptied) add("tape empty");
    if (a.grandTotal && !Trim(*a.grandTotal).empty()) add(Join("grand total", Trim(*a.grandTotal)));
    if (a.memoryInUse) add(*a.memoryInUse ? "memory in use" : "memory empty");
    if (a.selection) {
        const Announcement::Selection& s = *a.selection;
        if (s.count == 0) {
            if (!a.tapeEmptied) add("tape empty");
        } else if (s.row >= 0) {
            add("line " + std::to_string(s.row + 1) + " of " + std::to_string(s.count) + ", " +
                SpokenLine(s.line));
        }
    }
    for (const std::string& note : a.notes) add(note);
    return out;
}

}  // namespace tallyroll
