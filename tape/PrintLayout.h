#pragma once
// The layout of a printed tape: the constants of the page, the colour of a
// line, and the two procedures of the print run that place the tape lines.
// Works against the Printer interface only.

#include <exception>
#include <string>
#include <string_view>

#include "tape/Printer.h"

namespace tallyroll {

inline constexpr const char* kPrintFont = "Arial";
inline constexpr float kHeaderPoints = 12;
inline constexpr float kGapPoints = 5;
inline constexpr float kTapePoints = 10;
inline constexpr float kColumnWidth = 1.5f;    // first right edge and the step between edges
inline constexpr float kLastRightEdge = 7.0f;  // a right edge beyond this starts a new page
inline constexpr long kRed = 255;
inline constexpr long kBlack = 0;
inline constexpr std::string_view kLineHeightSample = "TextString";

// Runs printer steps in skip-on-error mode: a step that fails is abandoned and
// the next one runs. The first failure's reason is kept for the user.
class PrintSteps {
  public:
    template <class Step>
    void operator()(Step&& step) {
        try {
            step();
        } catch (const std::exception& e) {
            fail(e.what());
        } catch (...) {
            fail("an unknown printer error");
        }
    }

    bool failed() const { return failed_; }
    const std::string& reason() const { return reason_; }

  private:
    void fail(const char* why);

    bool failed_ = false;
    std::string reason_;
};

// Red for a line holding a minus sign (the ASCII sign of a negative number or
// the subtraction operator), black for every other line.
long LineColor(std::string_view line);

// Prints `text` as one line that ends exactly at `rightEdge` inches; leading
// and trailing blanks count. Failing steps are skipped and noted in `steps`.
void PrintRightAligned(Printer& printer, PrintSteps& steps, const std::string& text,
                       float rightEdge);

// True when fewer than two lines of the current font fit below the current
// position. A failed measurement counts as room left.
bool IsPageFull(Printer& printer, PrintSteps& steps);

}  // namespace tallyroll
