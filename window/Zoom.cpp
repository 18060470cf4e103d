#include "window/Zoom.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "window/ControlTable.h"
#include "window/FrmCalculator.h"

namespace tallyroll {

namespace {

constexpr double kSteps[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

// Ctrl with the "+" key. Where "+" needs Shift (a US keyboard), X11 and
// Wayland report Ctrl+Shift++ and match it to Ctrl++ and to Ctrl+Shift+= both,
// so binding both made the key ambiguous. Ctrl+Shift++ is what the script
// driver (and platforms without that matching) deliver for the same keys.
constexpr CommandDef kZoomIn{"zoomIn", "Zoom &In", "Ctrl++; Ctrl+=; Ctrl+Shift++",
                             "zoom in (100 % to 300 %)"};
constexpr CommandDef kZoomOut{"zoomOut", "Zoom &Out", "Ctrl+-", "zoom out"};

int Clamp(int step) {
    return std::clamp(step, 0, static_cast<int>(std::size(kSteps)) - 1);
}

// Moves the shared level one step; refused (a beep) past either end or when
// the window would not fit the work area at the new level.
void Step(FrmCalculator& window, int delta) {
    int& level = *window.zoomLevel();
    const int next = Clamp(level + delta);
    if (next == level || !window.FitsWorkArea(kSteps[next])) {
        window.calculator().Beep();
        return;
    }
    level = next;
    window.SetZoom(kSteps[next]);
}

}  // namespace

std::span<const double> ZoomSteps() {
    return kSteps;
}

void InstallZoomCommands(FrmCalculator& window) {
    window.AddCommand(kZoomIn, [&window] { Step(window, +1); });
    window.AddCommand(kZoomOut, [&window] { Step(window, -1); });
    int& level = *window.zoomLevel();
    level = Clamp(level);
    if (level != 0) window.SetZoom(kSteps[level]);
}

void ZoomControls(FrmCalculator& window) {
    const double zoom = window.zoom();
    const FormDef& form = CalculatorForm();
    QFont windowFont = window.font();
    windowFont.setPointSizeF(form.font.points * zoom);
    window.setFont(windowFont);
    const std::span<const ControlDef> defs = CalculatorControls();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QVariant order = w->property("Order");
        if (!order.isValid() || order.toInt() < 0 || order.toUInt() >= defs.size() || w->isWindow())
            continue;
        const ControlDef& def = defs[order.toUInt()];
        const QRect r =
            window.PixelRect(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
        w->setGeometry(r);
        QFont f = w->font();
        f.setPointSizeF((def.font.family ? def.font.points : form.font.points) * zoom);
        w->setFont(f);
        if (def.kind == ControlKind::Image)
            if (auto* image = qobject_cast<QLabel*>(w))
                image->setPixmap(window.windowIcon().pixmap(r.size(), window.devicePixelRatioF()));
    }
}

}  // namespace tallyroll
