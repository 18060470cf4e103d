#pragma once
// Where the calculator window goes in the desktop's work area.

namespace tallyroll {

struct WorkAreaPixels {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TwipsPoint {
    int left = 0, top = 0;
};

// Nearest integer, halves to even.
int NearestEven(double x);

// PositionWindow's rule: the window's top at the work area's bottom / 2.8
// less half the window, its left centred on half the right edge, both as
// absolute values, then kept inside the top, bottom and left edges.
TwipsPoint PositionWindow(const WorkAreaPixels& area, double twipsPerPixelX, double twipsPerPixelY,
                          int widthTwips, int heightTwips);

}  // namespace tallyroll
