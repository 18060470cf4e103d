#include "tape/PrintLayout.h"

#include "tape/TapeLine.h"

namespace tallyroll {

void PrintSteps::fail(const char* why) {
    if (!failed_) reason_ = why;
    failed_ = true;
}

long LineColor(std::string_view line) {
    const bool minus =
        line.find('-') != std::string_view::npos || line.find(kMinus) != std::string_view::npos;
    return minus ? kRed : kBlack;
}

void PrintRightAligned(Printer& printer, PrintSteps& steps, const std::string& text,
                       float rightEdge) {
    float width = 0;
    steps([&] { printer.setUnitInches(); });
    steps([&] { width = printer.textWidth(text); });
    // The line goes on at the height where the previous one ended.
    steps([&] { printer.setCurrentX(rightEdge - width); });
    steps([&] { printer.print(text, true); });
}

bool IsPageFull(Printer& printer, PrintSteps& steps) {
    float height = 0;
    float neededBottom = 0;
    bool full = false;
    steps([&] { height = printer.textHeight(std::string(kLineHeightSample)); });
    steps([&] { neededBottom = printer.currentY() + (height + height); });
    steps([&] { full = printer.printableHeight() <= neededBottom; });
    return full;
}

}  // namespace tallyroll
