// The program's real print path, OpenDefaultPrinter, against the CUPS
// scheduler the test fixture started with a cups-pdf queue as its default:
// the job must come out as a PDF that reads back as the printed tape.
#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QThread>
#include <fstream>
#include <map>

#include "tests/print/PdfCheck.h"
#include "tests/print/PrintHarness.h"

namespace tallyroll::test {
namespace {

// Where cups-pdf writes the jobs of the current user: its Out setting with
// ${HOME} and ${USER} expanded.
QString CupsPdfOutDir() {
    std::string out = "/var/spool/cups-pdf/${USER}";
    std::ifstream conf("/etc/cups/cups-pdf.conf");
    for (std::string line; std::getline(conf, line);)
        if (line.rfind("Out ", 0) == 0) out = line.substr(4);
    const passwd* user = getpwuid(getuid());
    QString dir = QString::fromStdString(out).trimmed();
    if (user) {
        dir.replace("${HOME}", QString::fromLocal8Bit(user->pw_dir));
        dir.replace("${USER}", QString::fromLocal8Bit(user->pw_name));
    }
    return dir;
}

std::map<QString, QDateTime> PdfFiles(const QString& dir) {
    std::map<QString, QDateTime> files;
    for (const QFileInfo& f : QDir(dir).entryInfoList({"*.pdf"}, QDir::Files))
        files[f.absoluteFilePath()] = f.lastModified();
    return files;
}

bool JobsPending() {
    const auto jobs = RunTool("lpstat", {"-o"});
    return !jobs || !jobs->empty();
}

// Waits for the scheduler to finish every job and returns the PDF that is
// new or rewritten since `before`.
QString WaitForNewPdf(const QString& dir, const std::map<QString, QDateTime>& before) {
    for (int tick = 0; tick < 600; ++tick) {
        QThread::msleep(100);
        if (JobsPending()) continue;
        for (const auto& [path, modified] : PdfFiles(dir)) {
            const auto old = before.find(path);
            if (old == before.end() || old->second != modified) return path;
        }
    }
    return {};
}

TEST(CupsPrint, ExampleComesOutOfTheDefaultPrinter) {
    const QByteArray server = qgetenv("CUPS_SERVER");
    ASSERT_FALSE(server.isEmpty())
        << "CUPS_SERVER is not set: run through ctest, whose fixture starts cupsd";
    ASSERT_TRUE(QFileInfo::exists(QString::fromLocal8Bit(server)))
        << "cupsd is not running on " << server.toStdString() << " (see the print/cups-start test)";
    ASSERT_FALSE(QPrinterInfo::defaultPrinter().isNull()) << "the scheduler has no default printer";

    const QString outDir = CupsPdfOutDir();
    const auto before = PdfFiles(outDir);
    PrintSession s;
    s.view.printerFactory = &OpenDefaultPrinter;
    s.keys("5+3-10\r");
    s.print("Weekly costs");
    ASSERT_TRUE(s.log.messages.empty()) << s.log.messages[0].text;
    EXPECT_EQ(s.log.beeps, 1);
    EXPECT_TRUE(s.view.enabled);

    const QString pdf = WaitForNewPdf(outDir, before);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF appeared in " << outDir.toStdString();
    ExpectExamplePrint(pdf.toStdString(),
                       "Calculator Tape (Printed: 07/12/2026 @ 21:16) Weekly costs");
    QFile::remove(pdf);
}

TEST(CupsPrint, RefusedJobIsReportedNotMistakenForAPrint) {
    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    ASSERT_FALSE(queue.isEmpty()) << "the scheduler has no default printer";
    ASSERT_TRUE(RunTool("cupsreject", {queue}));
    PrintSession s;
    s.view.printerFactory = &OpenDefaultPrinter;
    s.keys("5+3-10\r");
    s.print("Weekly costs");
    RunTool("cupsaccept", {queue});
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_EQ(s.log.messages[0].text.rfind(
                  "The tape could not be printed: the print system refused the job", 0),
              0u)
        << s.log.messages[0].text;
    EXPECT_TRUE(s.view.enabled);
    EXPECT_EQ(s.log.beeps, 1);
}

// Run with CUPS_SERVER naming a socket nobody listens on.
TEST(NoCups, NoDefaultPrinterIsReportedAndTheWindowComesBack) {
    ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull());
    PrintSession s;
    s.view.printerFactory = &OpenDefaultPrinter;
    s.keys("5+3-10\r");
    s.print("Weekly costs");
    ASSERT_EQ(s.log.messages.size(), 1u);
    EXPECT_EQ(s.log.messages[0].text, "The tape could not be printed: no default printer");
    EXPECT_EQ(s.log.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(s.view.enabled);
    EXPECT_FALSE(s.view.busy);
    EXPECT_EQ(s.log.beeps, 1);
}

}  // namespace
}  // namespace tallyroll::test
