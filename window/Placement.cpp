#include "window/Placement.h"

#include <cmath>

namespace tallyroll {

int NearestEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

TwipsPoint PositionWindow(const WorkAreaPixels& area, double tppX, double tppY, int width,
                          int height) {
    const int areaTop = NearestEven(tppY * area.top);
    const int areaBottom = NearestEven(tppY * area.bottom);
    const int areaLeft = NearestEven(tppX * area.left);
    const int areaRight = NearestEven(tppX * area.right);
    TwipsPoint p;
    p.top = NearestEven(std::fabs(areaBottom / 2.8 - height / 2.0));
    p.left = NearestEven(std::fabs(areaRight / 2.0 - width / 2.0));
    if (p.top < areaTop) p.top = areaTop;
    if (areaBottom - height < p.top) p.top = NearestEven(areaBottom - height);
    if (p.left < areaLeft) p.left = areaLeft;
    return p;
}

}  // namespace tallyroll
