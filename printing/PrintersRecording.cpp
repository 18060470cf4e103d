// The printers of scripted sessions: one that records every operation as the
// driver's JSON, and one whose every operation fails.
#include <QImage>
#include <cmath>

#include "printing/PrinterBase.h"
#include "printing/Printers.h"
#include "window/Json.h"

namespace tallyroll {

namespace {

// Inches rounded to 4 decimals, so recorded layouts compare across machines.
std::string Inches(float v) {
    return json::Number(std::round(static_cast<double>(v) * 1e4) / 1e4);
}

class RecordingPrinter : public PrinterBase {
  public:
    explicit RecordingPrinter(SessionLog& log) : log_(log) {
        // Measured at a printer's resolution rather than the screen's.
        constexpr int kDotsPerMeter = 47244;  // 1200 dpi
        metricsDevice_.setDotsPerMeterX(kDotsPerMeter);
        metricsDevice_.setDotsPerMeterY(kDotsPerMeter);
    }

  private:
    static constexpr float kWidth = 8.0f, kHeight = 10.5f;

    const QPaintDevice& metricsDevice() const override { return metricsDevice_; }
    float pageWidth() const override { return kWidth; }
    float pageHeight() const override { return kHeight; }
    void applyCopies(int) override {}

    void drawText(const std::string& text, float width, float height, bool endLine) override {
        log_.printed.push_back(
            "{\"op\":\"text\",\"text\":" + json::Quote(text) + ",\"x\":" + Inches(x()) +
            ",\"y\":" + Inches(y()) + ",\"w\":" + Inches(width) + ",\"h\":" + Inches(height) +
            ",\"font\":" + json::Quote(fontName()) + ",\"size\":" + json::Number(fontPoints()) +
            ",\"color\":" + json::Number(static_cast<double>(color())) +
            ",\"newline\":" + json::Bool(endLine) + "}");
    }

    void drawLine(float x1, float y1, float x2, float y2) override {
        log_.printed.push_back("{\"op\":\"line\",\"x1\":" + Inches(x1) + ",\"y1\":" + Inches(y1) +
                               ",\"x2\":" + Inches(x2) + ",\"y2\":" + Inches(y2) +
                               ",\"color\":" + json::Number(static_cast<double>(color())) + "}");
    }

    void nextPage() override { log_.printed.push_back("{\"op\":\"newpage\"}"); }
    void finishDocument() override { log_.printed.push_back("{\"op\":\"end\"}"); }

    SessionLog& log_;
    QImage metricsDevice_{1, 1, QImage::Format_RGB32};
};

class FailingPrinter : public Printer {
  public:
    void setUnitInches() override { fail(); }
    void setCopies(int) override { fail(); }
    void setFontName(const std::string&) override { fail(); }
    void setFontSize(float) override { fail(); }
    void setColor(long) override { fail(); }
    float printableWidth() override { fail(); }
    float printableHeight() override { fail(); }
    float currentX() override { fail(); }
    float currentY() override { fail(); }
    void setCurrentX(float) override { fail(); }
    void setCurrentY(float) override { fail(); }
    float textWidth(const std::string&) override { fail(); }
    float textHeight(const std::string&) override { fail(); }
    void print(const std::string&, bool) override { fail(); }
    void line(float, float, float, float) override { fail(); }
    void newPage() override { fail(); }
    void endDoc() override { fail(); }

  private:
    [[noreturn]] static void fail() { throw PrintError("the printer reported an error"); }
};

}  // namespace

std::unique_ptr<Printer> MakeRecordingPrinter(SessionLog& log) {
    return std::make_unique<RecordingPrinter>(log);
}

std::unique_ptr<Printer> MakeFailingPrinter() {
    return std::make_unique<FailingPrinter>();
}

}  // namespace tallyroll
