// The printers that paint: the system's default printer and a PDF file, both
// through QPrinter and QPainter, so a PDF shows what paper would.
#include <cups/cups.h>
#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

#include "printing/PrinterBase.h"
#include "printing/Printers.h"

namespace tallyroll {

namespace {

QColor ToQColor(long rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

class PaintedPrinter : public PrinterBase {
  public:
    explicit PaintedPrinter(const QPrinterInfo& info)
        : printer_(info, QPrinter::HighResolution), submitsToCups_(true) {
        setUp();
    }

    explicit PaintedPrinter(const std::string& pdfPath) : printer_(QPrinter::HighResolution) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromStdString(pdfPath));
        // Letter with quarter-inch margins: the same 8 x 10.5 in printable
        // area as the recording printer.
        printer_.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                           QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        setUp();
    }

    ~PaintedPrinter() override {
        // A run that never ended its document does not send half of it.
        if (painter_.isActive()) {
            printer_.abort();
            painter_.end();
        }
    }

  private:
    void setUp() {
        printer_.setFullPage(false);  // positions count from the printable area
        printer_.setDocName("Calculator Tape");
    }

    const QPaintDevice& metricsDevice() const override { return printer_; }
    float pageWidth() const override {
        return static_cast<float>(printer_.pageRect(QPrinter::Inch).width());
    }
    float pageHeight() const override {
        return static_cast<float>(printer_.pageRect(QPrinter::Inch).height());
    }

    void applyCopies(int copies) override {
        if (painter_.isActive()) throw PrintError("copies cannot change during a document");
        printer_.setCopyCount(copies);
    }

    void beginDocument() override {
        if (painter_.isActive()) return;
        if (ended_) throw PrintError("the document has already been ended");
        if (!painter_.begin(&printer_)) throw PrintError("the printer could not start a document");
    }

    // A new page becomes real only when something is drawn on it, so a run
    // that asks for a page just before ending leaves no blank sheet.
    void materialisePage() {
        if (!pagePending_) return;
        if (!printer_.newPage()) throw PrintError("the printer could not start a new page");
        pagePending_ = false;
    }

    void drawText(const std::string& text, float, float, bool) override {
        if (text.empty()) return;
        materialisePage();
        painter_.setFont(font());
        painter_.setPen(ToQColor(color()));
        painter_.drawText(QPointF(x() * dpiX(), y() * dpiY() + metrics().ascent()),
                          QString::fromStdString(text));
    }

    void drawLine(float x1, float y1, float x2, float y2) override {
        materialisePage();
        painter_.setPen(QPen(ToQColor(color()), 0));  // width 0: the thinnest line the device draws
        painter_.drawLine(QPointF(x1 * dpiX(), y1 * dpiY()), QPointF(x2 * dpiX(), y2 * dpiY()));
    }

    void nextPage() override { pagePending_ = true; }

    void finishDocument() override {
        if (!painter_.isActive()) return;  // nothing was begun
        ended_ = true;
        pagePending_ = false;
        if (!painter_.end() || printer_.printerState() == QPrinter::Error ||
            printer_.printerState() == QPrinter::Aborted)
            throw PrintError("the printer did not take the document");
        // Qt hands the finished document to CUPS as its last request and
        // ignores the answer; CUPS still holds it for this thread.
        if (submitsToCups_ && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
            throw PrintError(std::string("the print system refused the job (") +
                             cupsLastErrorString() + ")");
    }

    QPrinter printer_;
    QPainter painter_;
    bool submitsToCups_ = false;
    bool pagePending_ = false;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<Printer> OpenDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<PaintedPrinter>(info);
}

std::unique_ptr<Printer> MakePdfPrinter(const std::string& path) {
    return std::make_unique<PaintedPrinter>(path);
}

}  // namespace tallyroll
