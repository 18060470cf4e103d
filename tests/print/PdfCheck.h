#pragma once
// Reading a printed PDF back with poppler's tools: its pages, its text, and
// the ink of a page rendered to pixels, in horizontal bands.

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace tallyroll::test {

// Runs a command and returns its standard output; nothing when it cannot run
// or exits with an error (the reason goes to the test log).
std::optional<std::string> RunTool(const QString& program, const QStringList& args);

int PdfPages(const std::string& path);
std::string PdfText(const std::string& path);  // pdftotext -layout
QImage RenderPage(const std::string& path, int page, int dpi);

// A run of rows holding ink, with how many of its pixels are red or dark
// and where its ink ends left and right.
struct InkBand {
    int top = 0, bottom = 0, left = 0, right = 0;
    int red = 0, dark = 0;
    bool isRed() const { return red > 0 && dark == 0; }
    bool isBlack() const { return dark > 0 && red == 0; }
};

struct PageInk {
    std::vector<InkBand> bands;  // top to bottom
    // The rule: the band whose ink spans the widest, if any spans `minWidth`.
    std::optional<InkBand> rule;
};

PageInk ReadInk(const QImage& page, int ruleMinWidth);

// The trimmed, non-empty lines of a text.
std::vector<std::string> TextLines(const std::string& text);

// Checks a PDF of the example tape ("+ 5.00", "+ 3.00", the minus line and
// "= -2.00" under `header`): one page, the texts, a rule, and each tape line
// right-aligned 1.5 in from the rule's left end, black, black, red, red.
void ExpectExamplePrint(const std::string& pdfPath, const std::string& header);

}  // namespace tallyroll::test
