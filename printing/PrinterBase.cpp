#include "printing/PrinterBase.h"

#include <QGuiApplication>
#include <QPaintDevice>

namespace tallyroll {

PrinterBase::PrinterBase() {
    // Fonts can only be resolved and measured inside a GUI application.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw PrintError("fonts cannot be measured without the application");
    // A fixed starting font, so a document never depends on the desktop's
    // settings; unhinted outlines measure the same at every resolution.
    setFontName("Arial");
    setFontSize(10);
    font_.setHintingPreference(QFont::PreferNoHinting);
}

void PrinterBase::setCopies(int copies) {
    if (copies < 1) throw PrintError("invalid number of copies");
    applyCopies(copies);
}

void PrinterBase::setFontName(const std::string& name) {
    if (name.empty()) throw PrintError("no font name");
    fontName_ = name;
    font_.setFamily(QString::fromStdString(name));
    metrics_.reset();
}

void PrinterBase::setFontSize(float points) {
    if (!(points > 0 && points < 2048)) throw PrintError("invalid font size");
    points_ = points;
    font_.setPointSizeF(points);
    metrics_.reset();
}

void PrinterBase::setColor(long rgb) {
    if (rgb < 0 || rgb > 0xFFFFFF) throw PrintError("invalid colour");
    color_ = rgb;
}

const QFontMetricsF& PrinterBase::metrics() {
    if (!metrics_) metrics_.emplace(font_, &metricsDevice());
    return *metrics_;
}

double PrinterBase::dpiX() const {
    return metricsDevice().logicalDpiX();
}
double PrinterBase::dpiY() const {
    return metricsDevice().logicalDpiY();
}

float PrinterBase::textWidth(const std::string& text) {
    return static_cast<float>(metrics().horizontalAdvance(QString::fromStdString(text)) / dpiX());
}

float PrinterBase::textHeight(const std::string&) {
    return static_cast<float>(metrics().lineSpacing() / dpiY());
}

void PrinterBase::print(const std::string& text, bool endLine) {
    beginDocument();
    const float width = textWidth(text);
    const float height = textHeight(text);
    drawText(text, width, height, endLine);
    if (endLine) {
        x_ = 0;
        y_ += height;
    } else {
        x_ += width;
    }
}

void PrinterBase::line(float x1, float y1, float x2, float y2) {
    beginDocument();
    drawLine(x1, y1, x2, y2);
    x_ = x2;
    y_ = y2;
}

void PrinterBase::newPage() {
    beginDocument();
    nextPage();
    x_ = y_ = 0;
}

void PrinterBase::endDoc() {
    finishDocument();
}

}  // namespace tallyroll
