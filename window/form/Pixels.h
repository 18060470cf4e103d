#pragma once
// Twips (1/1440 inch) to pixels, for every window of the program: the
// screen's twips per pixel, times a zoom. An edge goes to the nearest pixel
// (halves away from zero); a control's size is the distance between its
// rounded edges, so that controls that meet in twips meet on the screen.

#include <QRect>
#include <QWidget>
#include <cmath>

namespace tallyroll {

struct PixelScale {
    double twipsPerPixelX = 15, twipsPerPixelY = 15;
    double zoom = 1;

    // The scale of the screen the widget is on (its logical dots per inch).
    static PixelScale Of(const QWidget& w) {
        return {1440.0 / w.logicalDpiX(), 1440.0 / w.logicalDpiY()};
    }
    PixelScale at(double otherZoom) const { return {twipsPerPixelX, twipsPerPixelY, otherZoom}; }

    int x(double twips) const {
        return static_cast<int>(std::lround(twips * zoom / twipsPerPixelX));
    }
    int y(double twips) const {
        return static_cast<int>(std::lround(twips * zoom / twipsPerPixelY));
    }
    QRect rect(int left, int top, int width, int height) const {
        const int l = x(left), t = y(top);
        return {l, t, x(left + width) - l, y(top + height) - t};
    }
};

}  // namespace tallyroll
