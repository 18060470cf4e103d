#pragma once
// Layout helpers of the demo windows: twips (1/1440 inch) to pixels through
// the screen's logical DPI, so the windows keep their proportions on a
// high-DPI screen, and the definition's tab index and system colours kept on
// each control for whoever describes the window (the script driver).

#include <QRect>
#include <QVariant>
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

// Records a control's tab index (-1: none) and the names of the system
// colours it is drawn in.
inline void DescribeControl(QWidget& w, int tab, const char* back, const char* fore) {
    if (tab >= 0) w.setProperty("TabIndex", tab);
    w.setProperty("BackColor", QString::fromLatin1(back));
    if (fore) w.setProperty("ForeColor", QString::fromLatin1(fore));
}

}  // namespace tallyroll
