#pragma once
// The printer operations a print run uses, in inches and points. Every
// operation may fail by throwing PrintError; the run skips the failed step,
// remembers the failure and goes on.

#include <stdexcept>
#include <string>

namespace tallyroll {

class PrintError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Printer {
  public:
    virtual ~Printer() = default;

    virtual void setUnitInches() = 0;
    virtual void setCopies(int copies) = 0;
    virtual void setFontName(const std::string& name) = 0;
    virtual void setFontSize(float points) = 0;
    virtual void setColor(long rgb) = 0;  // red + 256 green + 65536 blue

    virtual float printableWidth() = 0;
    virtual float printableHeight() = 0;
    virtual float currentX() = 0;
    virtual float currentY() = 0;
    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;

    virtual float textWidth(const std::string& text) = 0;
    virtual float textHeight(const std::string& text) = 0;  // one line: the font's line height

    // Draws text at the current position; with endLine, x returns to 0 and y
    // moves down one line height, otherwise x moves to the text's end.
    virtual void print(const std::string& text, bool endLine) = 0;
    virtual void line(float x1, float y1, float x2, float y2) = 0;  // thinnest pen, current colour
    virtual void newPage() = 0;
    virtual void endDoc() = 0;  // a page begun but left empty is not output
};

}  // namespace tallyroll
