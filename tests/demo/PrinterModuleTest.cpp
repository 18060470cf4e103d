// The printers module the program loads on its first print: found in the
// build tree and opening the default printer of the tests' own CUPS
// scheduler; no printer when no scheduler answers; a print error when the
// module is missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "demo/PrinterModule.h"

namespace tallyroll {
namespace {

const QStringList kBuildTree{QStringLiteral(TALLYROLL_PRINTERS_MODULE_DIR)};

TEST(PrinterModuleCups, OpensTheDefaultPrinterThroughTheModule) {
    const std::unique_ptr<Printer> printer = OpenDefaultPrinterFromModule(kBuildTree);
    ASSERT_NE(printer, nullptr)
        << "no default printer: run through ctest, whose fixture starts cupsd";
    printer->setFontName("Arial");
    printer->setFontSize(10);
    EXPECT_GT(printer->textWidth("= 15.00"), printer->textWidth("1"));
    EXPECT_GT(printer->printableWidth(), 6.0f);
}

TEST(PrinterModule, NoSchedulerMeansNoPrinter) {
    EXPECT_EQ(OpenDefaultPrinterFromModule(kBuildTree), nullptr);
}

TEST(PrinterModule, AMissingModuleFailsThePrintStep) {
    QTemporaryDir empty;
    EXPECT_THROW(OpenDefaultPrinterFromModule({empty.path()}), PrintError);
    EXPECT_THROW(OpenPdfPrinterFromModule(empty.filePath(QStringLiteral("t.pdf")).toStdString(),
                                          {empty.path()}),
                 PrintError);
}

// The PDF export prints through the module too.
TEST(PrinterModule, WritesAPdfThroughTheModule) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.pdf"));
    {
        const std::unique_ptr<Printer> printer =
            OpenPdfPrinterFromModule(path.toStdString(), kBuildTree);
        ASSERT_NE(printer, nullptr);
        printer->setFontName("Arial");
        printer->setFontSize(10);
        printer->print("= 15.00", true);
        printer->endDoc();
    }
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

}  // namespace
}  // namespace tallyroll
