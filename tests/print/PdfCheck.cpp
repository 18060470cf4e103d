#include "tests/print/PdfCheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <sstream>

#include "tape/TapeLine.h"

namespace tallyroll::test {

std::optional<std::string> RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString()
                      << process.errorString().toStdString();
        return std::nullopt;
    }
    return process.readAllStandardOutput().toStdString();
}

int PdfPages(const std::string& path) {
    const auto info = RunTool("pdfinfo", {QString::fromStdString(path)});
    if (!info) return -1;
    std::istringstream in(*info);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Pages:", 0) == 0) return std::atoi(line.c_str() + 6);
    return -1;
}

std::string PdfText(const std::string& path) {
    return RunTool("pdftotext", {"-layout", QString::fromStdString(path), "-"}).value_or("");
}

QImage RenderPage(const std::string& path, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    const QString number = QString::number(page);
    if (!RunTool("pdftoppm", {"-r", QString::number(dpi), "-f", number, "-l", number, "-png",
                              "-singlefile", QString::fromStdString(path), prefix}))
        return {};
    return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

PageInk ReadInk(const QImage& page, int ruleMinWidth) {
    PageInk ink;
    std::optional<InkBand> band;
    for (int y = 0; y < page.height(); ++y) {
        InkBand row{y, y, page.width(), -1, 0, 0};
        const auto* pixels = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const int r = qRed(pixels[x]), g = qGreen(pixels[x]), b = qBlue(pixels[x]);
            if (r > 235 && g > 235 && b > 235) continue;  // paper
            row.left = std::min(row.left, x);
            row.right = std::max(row.right, x);
            if (r > 160 && g < 110 && b < 110) ++row.red;
            if (r < 110 && g < 110 && b < 110) ++row.dark;
        }
        if (row.right < 0) {  // a blank row closes the band
            if (band) ink.bands.push_back(*band);
            band.reset();
            continue;
        }
        if (!band) {
            band = row;
            continue;
        }
        band->bottom = y;
        band->left = std::min(band->left, row.left);
        band->right = std::max(band->right, row.right);
        band->red += row.red;
        band->dark += row.dark;
    }
    if (band) ink.bands.push_back(*band);
    for (const InkBand& b : ink.bands)
        if (b.right - b.left >= ruleMinWidth &&
            (!ink.rule || b.right - b.left > ink.rule->right - ink.rule->left))
            ink.rule = b;
    return ink;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto first = line.find_first_not_of(" \f\t\r");
        if (first == std::string::npos) continue;
        lines.push_back(line.substr(first, line.find_last_not_of(" \f\t\r") - first + 1));
    }
    return lines;
}

void ExpectExamplePrint(const std::string& pdfPath, const std::string& header) {
    EXPECT_EQ(PdfPages(pdfPath), 1);

    const std::string minusLine = std::string(kMinus) + " 10.00";
    EXPECT_EQ(TextLines(PdfText(pdfPath)),
              (std::vector<std::string>{header, "+ 5.00", "+ 3.00", minusLine, "= -2.00"}));

    constexpr int kDpi = 300;
    const QImage page = RenderPage(pdfPath, 1, kDpi);
    ASSERT_FALSE(page.isNull());
    // The rule runs across the printable width, at least the 6 in the columns need.
    const PageInk ink = ReadInk(page, 6 * kDpi);
    ASSERT_TRUE(ink.rule.has_value()) << "no rule on the page";
    EXPECT_TRUE(ink.rule->isBlack());

    std::vector<InkBand> above, below;
    for (const InkBand& b : ink.bands) {
        if (b.top < ink.rule->top) above.push_back(b);
        if (b.top > ink.rule->bottom) below.push_back(b);
    }
    ASSERT_FALSE(above.empty()) << "no header above the rule";
    for (const InkBand& b : above) EXPECT_TRUE(b.isBlack()) << "header band at row " << b.top;

    ASSERT_EQ(below.size(), 4u) << "tape lines under the rule";
    const bool red[] = {false, false, true, true};
    // Right-aligned at 1.5 in from the printable area's left edge, where the
    // rule starts; glyphs end a little short of their advance.
    const int rightEdge = ink.rule->left + kDpi * 3 / 2;
    for (std::size_t i = 0; i < below.size(); ++i) {
        SCOPED_TRACE("tape line " + std::to_string(i));
        EXPECT_EQ(below[i].isRed(), red[i]);
        EXPECT_EQ(below[i].isBlack(), !red[i]);
        EXPECT_LE(below[i].right, rightEdge);
        EXPECT_GE(below[i].right, rightEdge - kDpi / 50);
    }
}

}  // namespace tallyroll::test
