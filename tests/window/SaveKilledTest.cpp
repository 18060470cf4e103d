// A program killed (SIGKILL) in the middle of saving a tape leaves the file
// it was saving as one whole tape: the old one or the new one, never a part.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <variant>

#include "tape/TapeFile.h"
#include "tape/TapeList.h"
#include "window/commands/TapeFiles.h"

namespace tallyroll {
namespace {

TEST(SaveKilled, LeavesAWholeTape) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("t.tape"));
    int wholeAfterKill = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(TALLYROLL_SAVE_LOOP), {path});
        ASSERT_TRUE(saver.waitForStarted());
        // Wait for a first save, then let it run into a later one.
        while (!saver.canReadLine()) ASSERT_TRUE(saver.waitForReadyRead(10000));
        QThread::usleep(static_cast<unsigned long>(1000 + 3700 * round));
        saver.kill();  // SIGKILL
        ASSERT_TRUE(saver.waitForFinished());
        const int saves = saver.readAllStandardOutput().count("saved\n");
        ASSERT_GT(saves, 0);

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto read = ReadTapeFile(std::string_view(bytes.constData(), bytes.size()));
        ASSERT_TRUE(std::holds_alternative<std::vector<std::string>>(read))
            << "round " << round << ": " << Describe(std::get<TapeFileError>(read));
        const auto& lines = std::get<std::vector<std::string>>(read);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(TapeList::kMaxLines)) << "round " << round;
        EXPECT_TRUE(lines.front() == lines.back()) << "round " << round << ": two tapes mixed";
        ++wholeAfterKill;
    }
    EXPECT_EQ(wholeAfterKill, 12);
}

// A folder without write permission: the save fails with the system's reason
// and the old file stays. A process that may write anywhere (root with its
// capabilities) cannot see that; the CTest window/save-refused-as-root runs
// this without them.
TEST(SaveRefused, ReadOnlyFolderKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.tape"));
    ASSERT_EQ(WriteFileAtomically(path, "+ 1.00\n"), "");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (QFile probe(dir.filePath(QStringLiteral("probe"))); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this process may write into a read-only folder";
    }
    const std::string why = WriteFileAtomically(path, "+ 2.00\n");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_NE(why, "");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("+ 1.00\n"));
}

}  // namespace
}  // namespace tallyroll
