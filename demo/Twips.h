#pragma once
// Twips (1/1440 inch) to pixels through the screen's logical DPI, so the demo
// windows keep their proportions on a high-DPI screen.

#include <QRect>
#include <QWidget>

#include "window/Placement.h"

namespace tallyroll {

struct Twips {
    double perPixelX = 15, perPixelY = 15;

    // The factors of the screen the widget is on (or the primary screen).
    static Twips Of(const QWidget& w) {
        return {1440.0 / w.logicalDpiX(), 1440.0 / w.logicalDpiY()};
    }
    int x(int twips) const { return NearestEven(twips / perPixelX); }
    int y(int twips) const { return NearestEven(twips / perPixelY); }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }
};

}  // namespace tallyroll
