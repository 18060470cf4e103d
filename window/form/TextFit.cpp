#include "window/form/TextFit.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <algorithm>

#include "window/form/FittingLabel.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

// Points of a font as painted on a device: a font shrunk to fit is set in pixels.
double Points(const QFont& font, const QWidget& device) {
    if (font.pointSizeF() > 0) return font.pointSizeF();
    return QFontInfo(font).pixelSize() * 72.0 / device.logicalDpiY();
}

bool Fits(const QFont& font, const QWidget& device, const QString& text, int width) {
    return QFontMetrics(font, &device).horizontalAdvance(text) <= width;
}

// A caption as painted: "&&" shows one "&", a single "&" underlines the next letter.
QString WithoutMnemonic(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption[i] == QLatin1Char('&'))
            continue;
        out += caption[i];
    }
    return out;
}

bool TapeFits(const TapeListView& list) {
    // Each row is as wide as the widest line or the view; the scroll bar
    // reaches the end of the widest.
    const int view = list.viewport()->width();
    const int reach = view + list.horizontalScrollBar()->maximum();
    const QFontMetrics fm(list.font(), list.viewport());
    const QAbstractItemModel* model = list.model();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        const QRect rect = list.visualRect(model->index(row, 0));
        const int needed =
            fm.horizontalAdvance(model->index(row, 0).data().toString()) + list.textMargins();
        if (needed > std::min(rect.width(), reach)) return false;
    }
    return true;
}

}  // namespace

TextFit TextFitOf(const QWidget& w) {
    const QFont font = w.font();
    if (const auto* label = qobject_cast<const FittingLabel*>(&w)) {
        const QFont shown = label->shownFont();
        const Qt::Alignment align =
            QStyle::visualAlignment(w.layoutDirection(), label->alignment());
        const int needed = NeededWidth(QFontMetrics(shown, &w), label->text(), align);
        return {needed <= label->textRect().width(), Points(shown, w)};
    }
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (!label->pixmap().isNull()) return {true, Points(font, w)};
        return {Fits(font, w, label->text(), label->contentsRect().width()), Points(font, w)};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        const QRect room = w.style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        return {Fits(font, w, WithoutMnemonic(button->text()), room.width()), Points(font, w)};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = edit->hasFrame() ? w.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QMargins m = edit->textMargins();
        const int room =
            w.style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).width() - m.left() -
            m.right() - 2 * 2;  // the line edit's own side margins
        return {Fits(font, w, edit->text(), room), Points(font, w)};
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(&w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        opt.frame = combo->hasFrame();
        const QRect room = w.style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                     QStyle::SC_ComboBoxEditField, combo);
        return {Fits(font, w, combo->currentText(), room.width()), Points(font, w)};
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(&w))
        return {Fits(font, w, WithoutMnemonic(frame->title()), frame->width()), Points(font, w)};
    if (const auto* list = qobject_cast<const TapeListView*>(&w))
        return {TapeFits(*list), Points(font, w)};
    return {true, Points(font, w)};
}

}  // namespace tallyroll
