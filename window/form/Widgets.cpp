#include "window/form/Widgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace tallyroll {

ShapeWidget::ShapeWidget(QColor fill, QColor border, QWidget* parent)
    : QWidget(parent), fill_(fill), border_(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(border_);
    p.setBrush(fill_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DropDownBox::showPopup() {
    QComboBox::showPopup();
    // The list lives in a popup window of its own, created on first use.
    if (QWidget* popup = view()->window(); popup != window()) popup->installEventFilter(this);
}

bool DropDownBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == view()->window()) emit listClosed();
    return QComboBox::eventFilter(watched, event);
}

ControlKind KindOf(const QWidget& w) {
    if (qobject_cast<const QPushButton*>(&w)) return ControlKind::Button;
    if (const auto* label = qobject_cast<const QLabel*>(&w))
        return label->pixmap().isNull() ? ControlKind::Label : ControlKind::Image;
    if (qobject_cast<const QAbstractItemView*>(&w)) return ControlKind::List;
    if (const auto* combo = qobject_cast<const QComboBox*>(&w))
        return combo->isEditable() ? ControlKind::Combo : ControlKind::DropList;
    if (qobject_cast<const QLineEdit*>(&w)) return ControlKind::TextBox;
    if (qobject_cast<const QGroupBox*>(&w)) return ControlKind::Frame;
    if (qobject_cast<const ShapeWidget*>(&w)) return ControlKind::Shape;
    return ControlKind::Picture;
}

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
            return "button";
        case ControlKind::Label:
            return "label";
        case ControlKind::List:
            return "list";
        case ControlKind::Combo:
            return "combo";
        case ControlKind::DropList:
            return "droplist";
        case ControlKind::TextBox:
            return "textbox";
        case ControlKind::Frame:
            return "frame";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Image:
            return "image";
        case ControlKind::Shape:
            break;
    }
    return "shape";
}

QColor ResolveColour(const Colour& c, const QPalette& pal) {
    switch (c.system) {
        case SystemColour::None:
            break;
        case SystemColour::Fixed:
            return QColor(QRgb(c.rgb));
        case SystemColour::Window:
            return pal.color(QPalette::Base);
        case SystemColour::WindowText:
            return pal.color(QPalette::Text);
        case SystemColour::ButtonFace:
            return pal.color(QPalette::Button);
        case SystemColour::ButtonText:
            return pal.color(QPalette::ButtonText);
        // Qt has no title-bar colours: an inactive title bar is a muted
        // version of the selection colour, an active one the selection colour.
        case SystemColour::InactiveTitleBar:
            return QColor::fromHsl(pal.color(QPalette::Highlight).hslHue(), 40, 200);
        case SystemColour::ActiveTitleBar:
            return pal.color(QPalette::Highlight);
        case SystemColour::DarkShadow3D:
            return pal.color(QPalette::Shadow);
    }
    return {};
}

const char* SystemColourName(SystemColour c) {
    switch (c) {
        case SystemColour::Window:
            return "window";
        case SystemColour::WindowText:
            return "window text";
        case SystemColour::ButtonFace:
            return "button face";
        case SystemColour::ButtonText:
            return "button text";
        case SystemColour::InactiveTitleBar:
            return "inactive title bar";
        case SystemColour::ActiveTitleBar:
            return "active title bar";
        case SystemColour::DarkShadow3D:
            return "3d dark shadow";
        case SystemColour::None:
        case SystemColour::Fixed:
            break;
    }
    return "";
}

}  // namespace tallyroll
