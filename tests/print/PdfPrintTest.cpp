// The print run painted into a real PDF through QPrinter and QPainter, read
// back with poppler: text, colours, alignment and page count.
#include <QTemporaryDir>

#include "tests/print/PdfCheck.h"
#include "tests/print/PrintHarness.h"

namespace tallyroll::test {
namespace {

struct PdfSession : PrintSession {
    QTemporaryDir dir;
    std::string path = dir.filePath("tape.pdf").toStdString();
    PdfSession() {
        view.printerFactory = [this] { return MakePdfPrinter(path); };
    }
};

TEST(PdfPrint, WeeklyCostsExample) {
    PdfSession s;
    s.keys("5+3-10\r");
    s.print("Weekly costs");
    ASSERT_TRUE(s.log.messages.empty());
    ExpectExamplePrint(s.path, "Calculator Tape (Printed: 07/12/2026 @ 21:16) Weekly costs");
}

TEST(PdfPrint, PagesFollowTheLayoutWithoutABlankLastPage) {
    const int perPage = LinesPerFirstPage();
    struct Row {
        const char* name;
        int lines;
        int pages;
    };
    const Row rows[] = {
        {"last_line_ends_the_page", perPage, 1},
        {"one_line_more", perPage + 1, 2},
        {"several_pages", 3 * perPage, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PdfSession s;
        FillTape(s, row.lines);
        s.print("pages");
        ASSERT_TRUE(s.log.messages.empty());
        EXPECT_EQ(PdfPages(s.path), row.pages);
        // Every line comes out, in order.
        std::vector<std::string> lines = TextLines(PdfText(s.path));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), "Calculator Tape (Printed: 07/12/2026 @ 21:16) pages");
        std::size_t ones = 0;
        for (const std::string& line : lines) {
            // pdftotext lays the columns side by side on one text line.
            for (std::size_t at = line.find("+ 1.00"); at != std::string::npos;
                 at = line.find("+ 1.00", at + 1))
                ++ones;
        }
        EXPECT_EQ(ones, static_cast<std::size_t>(row.lines));
    }
}

}  // namespace
}  // namespace tallyroll::test
