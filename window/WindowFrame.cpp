#include "window/WindowFrame.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tallyroll {

namespace {

// How often and how long to look for the frame after a show: a window
// manager under load may take a second or more.
constexpr int kLookEveryMs = 50;
constexpr int kLooks = 60;

QMargins Told(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

}  // namespace

WindowFrame::WindowFrame(QWidget& window, QMargins reference, std::function<void()> place)
    : QObject(&window), window_(window), reference_(reference), place_(std::move(place)) {
    look_.setSingleShot(true);
    connect(&look_, &QTimer::timeout, this, &WindowFrame::Look);
    window.installEventFilter(this);
}

QMargins WindowFrame::margins() const {
    const QMargins told = Told(window_);
    return known_ || !told.isNull() ? told : reference_;
}

void WindowFrame::Place(QPoint at) {
    // The inner area goes where this frame leaves it: a window not yet
    // framed (on X11, before it is mapped) would have its inner area, not
    // its frame, at `at` after a plain move().
    placedFor_ = margins();
    window_.setGeometry(QRect(at + QPoint(placedFor_.left(), placedFor_.top()), window_.size()));
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show) {
        known_ = false;
        looks_ = 0;
        look_.start(0);
    }
    return QObject::eventFilter(watched, event);
}

void WindowFrame::Look() {
    if (Told(window_).isNull() && ++looks_ < kLooks) {
        look_.start(kLookEveryMs);
        return;
    }
    known_ = true;
    // The first time the frame is known, place the window again: it may have
    // been mapped with its inner area where the frame belongs. Later only a
    // frame other than the one it was placed for changes its outer size.
    const bool first = !framed_;
    framed_ = true;
    if (first || margins() != placedFor_) place_();
}

}  // namespace tallyroll
