#pragma once
// The few widgets the calculator window needs beyond Qt's own, and the
// mapping from the window definition's colours to the palette.

#include <QColor>
#include <QComboBox>
#include <QPalette>
#include <QWidget>

#include "window/form/ControlTable.h"

namespace tallyroll {

// A picture box: a plain focusable area that draws nothing. picSetFocus is
// one; it forwards its typed characters through the window's event filter.
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    using QWidget::QWidget;
};

// A combo box that tells when its list closes, whether an entry was chosen
// (Enter, a click on it) or not (Escape, a click elsewhere, the window losing
// the focus), so the window can say where the keyboard focus goes next.
class DropDownBox : public QComboBox {
    Q_OBJECT

  public:
    using QComboBox::QComboBox;
    void showPopup() override;

  signals:
    void listClosed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A rectangle shape: filled with its back colour, outlined with its fore
// colour, transparent to the mouse.
class ShapeWidget : public QWidget {
    Q_OBJECT

  public:
    ShapeWidget(QColor fill, QColor border, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_, border_;
};

// The kind of a live control, told from its class.
ControlKind KindOf(const QWidget& widget);
const char* KindName(ControlKind kind);

// The colour a definition colour stands for, under the given palette.
QColor ResolveColour(const Colour& colour, const QPalette& palette);
// The name the controls dump uses for a system colour ("window", "3d dark shadow").
const char* SystemColourName(SystemColour colour);

}  // namespace tallyroll
