#include "tape/Recalculate.h"

#include <charconv>
#include <cmath>

#include "tape/TapeLine.h"

namespace tallyroll {

std::optional<double> StrictNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::size_t i = text[0] == '-' ? 1 : 0;
    const std::size_t wholeStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == wholeStart) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    if (i != text.size()) return std::nullopt;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
    return v;
}

RecalcOutcome RecalculateTape(TapeList& tape, const std::function<std::string(double)>& format) {
    RecalcOutcome out;
    double& running = out.runningTotal;
    double& grand = out.grandTotal;
    TapeList::Batch batch(tape);

    // Applies one arithmetic step unless it divides by zero or leaves the range.
    auto apply = [&](double& target, double result, bool divideByZero) {
        if (divideByZero) {
            out.faults.push_back(RecalcFault::DivideByZero);
        } else if (!std::isfinite(result)) {
            out.faults.push_back(RecalcFault::Overflow);
        } else {
            target = result;
        }
    };

    const int n = tape.count();
    for (int i = 0; i < n; ++i) {
        const std::string& line = tape.line(i);
        const auto c = FirstChar(line);
        if (c == "+" || c == "-" || c == kMinus || c == "x" || c == "/") {
            const auto number = StrictNumber(FromChar(line, 3));
            if (!number) continue;
            const double v = *number;
            if (c == "+")
                apply(running, running + v, false);
            else if (c == "x")
                apply(running, running * v, false);
            else if (c == "/")
                apply(running, running / v, v == 0);
            else
                apply(running, running - v, false);
        } else if (c == "=") {
            std::string text = "= " + format(running);
            if (i < n - 1) {
                const auto next = FirstChar(tape.line(i + 1));
                if (next != "*" && next != "G") text += kSubTotalSuffix;
            } else {
                out.display = format(running);
                out.entry = running;
            }
            tape.replace(i, std::move(text));
        } else if (c == "G") {
            // A grand total line right after a total line takes that total in
            // as well; after a separator the running total is already 0.
            apply(grand, grand + running, false);
            tape.replace(i, "G " + format(grand));
            out.display = format(grand);
            out.entry = grand;
            grand = 0;
            running = 0;
            out.grandTotalLabel = "";
        } else if (c == "*") {
            apply(grand, grand + running, false);
            running = 0;
            out.grandTotalLabel = format(grand);
        }
    }
    return out;
}

}  // namespace tallyroll
