#pragma once
// A label that always shows its whole text: when the text is wider than the
// label at its own font, it is painted in a smaller size of the same family,
// one pixel at a time, until it fits; a short text is painted at the label's
// own font again. The label's font, alignment, border and colours are left as
// they are set.

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QString>

namespace tallyroll {

// Pixels a text needs to show all of its ink when aligned so: blanks at the
// end that lies against the edge may fall outside.
int NeededWidth(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment);

// The font to paint text in within width pixels: font itself when the text
// fits, otherwise the largest pixel size below it that fits (minPixels at
// least). device gives the resolution the font is measured at.
QFont FitFont(const QFont& font, const QString& text, Qt::Alignment alignment, int width,
              const QPaintDevice* device, int minPixels = 6);

class FittingLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

    // The font the text is painted in.
    QFont shownFont() const;
    // The area the text is laid out in: the contents less margin and indent.
    QRect textRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    mutable QString fittedText_;
    mutable QFont fittedFont_, fittedFor_;
    mutable int fittedWidth_ = -1;
};

}  // namespace tallyroll
