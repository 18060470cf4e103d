#pragma once
// A printer for tests and fuzzing: it keeps the texts it is asked to print,
// counts its operations, and fails (throws PrintError) as told: from one
// operation on, or at that one operation only. Its page is 8 by 10.5 inches;
// a text is measured by its length.

#include <string>
#include <vector>

#include "tape/Printer.h"

namespace tallyroll {

struct PrinterMode {
    enum Kind { None, Working, FailFrom, FailOnce } kind = Working;
    int at = 0;  // the operation that fails first (FailFrom) or alone (FailOnce)
};

// What a print run did on the printer; it outlives the printer itself.
struct PrintRecord {
    std::vector<std::string> printed;  // every text, the empty ones included
    int operations = 0;
    int failures = 0;
};

class FaultPrinter : public Printer {
  public:
    FaultPrinter(PrinterMode mode, PrintRecord& record) : mode_(mode), record_(record) {}

    void setUnitInches() override { step(); }
    void setCopies(int) override { step(); }
    void setFontName(const std::string&) override { step(); }
    void setFontSize(float points) override {
        step();
        points_ = points;
    }
    void setColor(long) override { step(); }
    float printableWidth() override { return step(8.0f); }
    float printableHeight() override { return step(10.5f); }
    float currentX() override { return step(x_); }
    float currentY() override { return step(y_); }
    void setCurrentX(float x) override { x_ = step(x); }
    void setCurrentY(float y) override { y_ = step(y); }
    float textWidth(const std::string& text) override { return step(width(text)); }
    float textHeight(const std::string&) override { return step(lineHeight()); }
    void print(const std::string& text, bool endLine) override {
        step();
        record_.printed.push_back(text);
        x_ = endLine ? 0 : x_ + width(text);
        if (endLine) y_ += lineHeight();
    }
    void line(float, float, float x2, float y2) override {
        step();
        x_ = x2;
        y_ = y2;
    }
    void newPage() override {
        step();
        x_ = y_ = 0;
    }
    void endDoc() override { step(); }

  private:
    float lineHeight() const { return points_ * 1.15f / 72; }
    float width(const std::string& text) const {
        return static_cast<float>(text.size()) * points_ / 120;
    }
    // Counts the operation and fails it as the mode says; passes v through.
    float step(float v = 0) {
        const int k = record_.operations++;
        const bool fails = (mode_.kind == PrinterMode::FailFrom && k >= mode_.at) ||
                           (mode_.kind == PrinterMode::FailOnce && k == mode_.at);
        if (fails) {
            ++record_.failures;
            throw PrintError("the printer failed at operation " + std::to_string(k));
        }
        return v;
    }

    PrinterMode mode_;
    PrintRecord& record_;
    float points_ = 10, x_ = 0, y_ = 0;
};

}  // namespace tallyroll
