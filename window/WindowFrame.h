#pragma once
// The frame a window manager draws around the calculator window. The window
// keeps its inner area whatever frame it gets, so its outer size, which the
// placement needs, follows the frame. An X11 window manager tells its frame
// only a moment after it has mapped the window: until then a reference frame
// stands in, and once the real one is known the window is placed again.

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>

class QWidget;

namespace tallyroll {

class WindowFrame : public QObject {
    Q_OBJECT

  public:
    // Watches `window` (a top-level widget) each time it is shown; `place`
    // places it again.
    WindowFrame(QWidget& window, QMargins reference, std::function<void()> place);

    // The frame in pixels: the real one once the platform has told it, or
    // once it has been asked long enough (a window without a frame); the
    // reference frame before.
    QMargins margins() const;
    // Moves the window so that its frame's top-left corner is at `at`.
    void Place(QPoint at);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Look();

    QWidget& window_;
    QMargins reference_;
    std::function<void()> place_;
    QTimer look_;
    int looks_ = 0;
    bool known_ = false;   // the real frame is known since the last show
    bool framed_ = false;  // the window was placed again once its frame was known
    QMargins placedFor_;   // the frame the window was last placed for
};

}  // namespace tallyroll
