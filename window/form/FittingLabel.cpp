#include "window/form/FittingLabel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace tallyroll {

int NeededWidth(const QFontMetrics& fm, const QString& text, Qt::Alignment alignment) {
    const int all = fm.horizontalAdvance(text);
    qsizetype lead = 0, trail = 0;
    while (lead < text.size() && text[lead] == QLatin1Char(' ')) ++lead;
    while (trail < text.size() - lead && text[text.size() - 1 - trail] == QLatin1Char(' ')) ++trail;
    const int leading = fm.horizontalAdvance(text.left(lead));
    const int trailing = fm.horizontalAdvance(text.right(trail));
    if (alignment & Qt::AlignRight) return all - leading;
    if (alignment & Qt::AlignHCenter) return all - 2 * std::min(leading, trailing);
    return all - trailing;
}

QFont FitFont(const QFont& font, const QString& text, Qt::Alignment alignment, int width,
              const QPaintDevice* device, int minPixels) {
    auto fits = [&](const QFont& f) {
        return NeededWidth(QFontMetrics(f, device), text, alignment) <= width;
    };
    if (text.isEmpty() || fits(font)) return font;
    QFont smaller = font;
    for (int px = QFontInfo(font).pixelSize() - 1; px >= minPixels; --px) {
        smaller.setPixelSize(px);
        if (fits(smaller)) return smaller;
    }
    return smaller;
}

QRect FittingLabel::textRect() const {
    // As QLabel lays out a plain text.
    const int m = margin();
    QRect r = contentsRect().adjusted(m, m, -m, -m);
    int in = indent();
    if (in < 0 && frameWidth() > 0) in = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - m;
    if (in > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
        if (a & Qt::AlignLeft) r.setLeft(r.left() + in);
        if (a & Qt::AlignRight) r.setRight(r.right() - in);
    }
    return r;
}

QFont FittingLabel::shownFont() const {
    const int width = textRect().width();
    if (fittedWidth_ != width || fittedText_ != text() || fittedFor_ != font()) {
        fittedText_ = text();
        fittedFor_ = font();
        fittedWidth_ = width;
        fittedFont_ = FitFont(font(), fittedText_,
                              QStyle::visualAlignment(layoutDirection(), alignment()), width, this);
    }
    return fittedFont_;
}

void FittingLabel::paintEvent(QPaintEvent* event) {
    const QFont shown = shownFont();
    if (shown == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(shown);
    style()->drawItemText(&painter, textRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), text(), foregroundRole());
}

}  // namespace tallyroll
