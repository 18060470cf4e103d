// Printing the tape: a header with the date and a title, a rule, then the tape
// lines right-aligned in columns, four columns to a page. Every printer step
// runs in skip-on-error mode; a run that failed anywhere still ends the
// document, gives the window back and beeps, then says so once.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "engine/Calculator.h"
#include "tape/PrintLayout.h"

namespace tallyroll {

namespace {

std::string HeaderText(const LocalDateTime& t, const std::string& title) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%04d @ %02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute);
    return "Calculator Tape (Printed: " + std::string(stamp) + ") " + title;
}

}  // namespace

void Calculator::cmdPrint_Click() {
    const std::string failure =
        PrintTape([this] { return view_.defaultPrinter(); }, TitleCancel::PrintsUntitled).failure;
    ParkFocus();
    view_.beep();
    if (!failure.empty())
        view_.messageBox(kAppTitle, "The tape could not be printed: " + failure,
                         MessageIcon::Warning);
}

Calculator::PrintRun Calculator::PrintTape(const std::function<std::unique_ptr<Printer>()>& open,
                                           TitleCancel onCancel) {
    PrintSteps steps;
    std::unique_ptr<Printer> printer;
    // Every printer step goes through here, so with no default printer each
    // one fails the same way.
    const auto dev = [&]() -> Printer& {
        if (!printer) throw PrintError("no default printer");
        return *printer;
    };

    if (!lstTape_.empty()) {
        const std::optional<std::string> answer = view_.inputBox("Add title", kAppTitle, "");
        if (!answer && onCancel == TitleCancel::Stops) return {true, ""};
        const std::string title = answer.value_or("");
        // No click or key may reach the window, so the tape cannot change
        // under the run; the one event pass repaints where the box was.
        view_.setWindowEnabled(false);
        view_.setBusyPointer(true);
        view_.processEvents();

        steps([&] { printer = open(); });
        steps([&] { dev().setUnitInches(); });
        steps([&] { dev().setCopies(1); });
        steps([&] { dev().setFontName(kPrintFont); });
        steps([&] { dev().print("", false); });  // starts the document at (0, 0)
        steps([&] { dev().setFontSize(kHeaderPoints); });
        float rightEdge = kColumnWidth;
        steps([&] { dev().print(HeaderText(view_.now(), title), true); });
        steps([&] {
            const float y = dev().currentY();
            dev().line(0, y, dev().printableWidth(), y);
        });
        steps([&] { dev().setFontSize(kGapPoints); });
        steps([&] { dev().print("", true); });
        steps([&] { dev().setFontSize(kTapePoints); });
        float top = 0;  // where every column but a later page's first starts
        steps([&] { top = dev().currentY(); });

        // A run that failed while setting up prints no tape line.
        if (!steps.failed()) {
            const int count = lstTape_.count();
            for (int i = 0; i < count; ++i) {
                const std::string& text = lstTape_.line(i);
                steps([&] { dev().setColor(LineColor(text)); });
                PrintRightAligned(*printer, steps, text, rightEdge);
                if (IsPageFull(*printer, steps)) {
                    rightEdge += kColumnWidth;
                    steps([&] { dev().setCurrentY(top); });
                    if (rightEdge > kLastRightEdge) {
                        rightEdge = kColumnWidth;
                        steps([&] { dev().newPage(); });
                    }
                }
            }
        }
        steps([&] { dev().endDoc(); });
        view_.setWindowEnabled(true);
        view_.setBusyPointer(false);
    }
    if (!steps.failed()) return {};
    return {false, steps.reason().empty() ? "an unknown printer error" : steps.reason()};
}

}  // namespace tallyroll
