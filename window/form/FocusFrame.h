#pragma once
// A ring around the control that has the keyboard focus, so that after Tab,
// in the tape or in the change panel one can see where the keys go. The
// hidden focus holder gets none: there the keys go to the calculator.

#include <QFocusFrame>
#include <QPointer>

namespace tallyroll {

// A QFocusFrame, so assistive technology leaves it out of the window's
// controls; it follows the focus itself rather than one widget.
class FocusFrame : public QFocusFrame {
    Q_OBJECT

  public:
    // Follows the focus among the controls of `window`, except `holder`.
    FocusFrame(QWidget& window, QWidget& holder);

    // The control the ring is drawn around, or null while it is hidden.
    QWidget* target() const { return isVisible() ? target_.data() : nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Follow(QWidget* now);
    void Place();

    QWidget& window_;
    QWidget& holder_;
    QPointer<QWidget> target_;
};

}  // namespace tallyroll
