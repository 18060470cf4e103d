#pragma once
// Layout helpers of the demo windows: twips (1/1440 inch) to pixels through
// the screen's logical DPI by the calculator's own rule, so the windows keep
// their proportions on a high-DPI screen, and the definition's tab index and
// system colours kept on each control for whoever describes the window (the
// script driver).

#include <QRect>
#include <QVariant>
#include <QWidget>

#include "window/form/Pixels.h"

namespace tallyroll {

// Twips to pixels as the calculator window has them, at no zoom.
using Twips = PixelScale;

// Records a control's tab index (-1: none) and the names of the system
// colours it is drawn in.
inline void DescribeControl(QWidget& w, int tab, const char* back, const char* fore) {
    if (tab >= 0) w.setProperty("TabIndex", tab);
    w.setProperty("BackColor", QString::fromLatin1(back));
    if (fore) w.setProperty("ForeColor", QString::fromLatin1(fore));
}

}  // namespace tallyroll
