#include "window/form/FocusFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace tallyroll {

namespace {
constexpr int kWidth = 2;  // pixels of the ring, drawn just outside the control
}

FocusFrame::FocusFrame(QWidget& window, QWidget& holder)
    : QFocusFrame(&window), window_(window), holder_(holder) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { Follow(now); });
}

void FocusFrame::Follow(QWidget* now) {
    if (target_) target_->removeEventFilter(this);
    const bool shown = now && now != &holder_ && now != &window_ && now->window() == &window_;
    target_ = shown ? now : nullptr;
    if (!target_) {
        hide();
        return;
    }
    target_->installEventFilter(this);
    Place();
}

void FocusFrame::Place() {
    if (!target_ || !target_->isVisible()) {
        hide();
        return;
    }
    const QRect r(target_->mapTo(&window_, QPoint(0, 0)), target_->size());
    setGeometry(r.adjusted(-kWidth, -kWidth, kWidth, kWidth));
    // Only the ring itself covers what lies beneath.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth))));
    show();
    raise();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                Place();
                break;
            default:
                break;
        }
    }
    return false;
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Highlight));
}

}  // namespace tallyroll
