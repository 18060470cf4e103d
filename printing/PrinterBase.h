#pragma once
// The state every printer on Qt shares: font, colour, current position in
// inches and the line advance, with text measured by Qt's font metrics on the
// device the printer draws for. Subclasses only put the operations somewhere:
// on paper, into a PDF, or into a session's log.

#include <QFont>
#include <QFontMetricsF>
#include <optional>
#include <string>

#include "tape/Printer.h"

class QPaintDevice;

namespace tallyroll {

class PrinterBase : public Printer {
  public:
    void setUnitInches() override {}  // inches are the only unit
    void setCopies(int copies) override;
    void setFontName(const std::string& name) override;
    void setFontSize(float points) override;
    void setColor(long rgb) override;

    float printableWidth() override { return pageWidth(); }
    float printableHeight() override { return pageHeight(); }
    float currentX() override { return x_; }
    float currentY() override { return y_; }
    void setCurrentX(float x) override { x_ = x; }
    void setCurrentY(float y) override { y_ = y; }

    float textWidth(const std::string& text) override;
    float textHeight(const std::string& text) override;

    void print(const std::string& text, bool endLine) override;
    void line(float x1, float y1, float x2, float y2) override;
    void newPage() override;
    void endDoc() override;

  protected:
    PrinterBase();

    // The device whose resolution the metrics use.
    virtual const QPaintDevice& metricsDevice() const = 0;
    virtual float pageWidth() const = 0;
    virtual float pageHeight() const = 0;
    virtual void applyCopies(int copies) = 0;
    virtual void beginDocument() {}
    // Called with the position before it moves; empty texts come here too.
    virtual void drawText(const std::string& text, float width, float height, bool endLine) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2) = 0;
    virtual void nextPage() = 0;
    virtual void finishDocument() = 0;

    const QFont& font() const { return font_; }
    const std::string& fontName() const { return fontName_; }
    float fontPoints() const { return points_; }
    long color() const { return color_; }
    float x() const { return x_; }
    float y() const { return y_; }
    const QFontMetricsF& metrics();
    double dpiX() const;
    double dpiY() const;

  private:
    QFont font_;
    std::string fontName_;
    float points_ = 10;
    long color_ = 0;  // every document starts in black
    float x_ = 0, y_ = 0;
    std::optional<QFontMetricsF> metrics_;  // for the current font; dropped when it changes
};

}  // namespace tallyroll
