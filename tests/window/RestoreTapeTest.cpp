// The journal of the window's tape in a state folder of the test's own, and
// "Restore last tape…": what is kept, what comes back, and what a damaged
// journal, a full disk or a folder that cannot be made do.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>

#include "WindowHarness.h"
#include "window/commands/TapeCommands.h"

namespace tallyroll {
namespace {

class RestoreTape : public WindowHarness {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder =
            std::make_shared<JournalFolder>(dir.filePath(QStringLiteral("state/tallyroll")), true);
        reopen();
    }

    // The window closes and a new one opens, as the next visit of the host.
    void reopen() {
        WindowSetup setup;
        setup.journal = folder;
        open(setup);
    }
    // Types and lets the journal write what the keys changed.
    void typed(const QString& keys) {
        type(keys);
        QCoreApplication::processEvents();
    }
    void restore() { chord(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier); }

    QStringList files(const QString& pattern = QStringLiteral("*.journal")) const {
        return QDir(folder->path()).entryList({pattern}, QDir::Files, QDir::Time);
    }
    QString pathOf(const QString& name) const { return folder->path() + u'/' + name; }
    std::string label(const char* name) const {
        return qobject_cast<QLabel*>(control(name))->text().toStdString();
    }
    int decimals() const {
        return qobject_cast<QComboBox*>(control("cboDecPlace"))->currentIndex();
    }
    std::vector<std::string> messages() {
        std::vector<std::string> out;
        for (const auto& m : log.messages) out.push_back(m.text);
        log.messages.clear();
        return out;
    }
    // Makes a journal look older than the ones written after it.
    void age(const QString& name, int minutes) {
        const std::filesystem::path p = pathOf(name).toStdString();
        std::filesystem::last_write_time(
            p, std::filesystem::last_write_time(p) - std::chrono::minutes(minutes));
    }

    QTemporaryDir dir;
    std::shared_ptr<JournalFolder> folder;
};

TEST_F(RestoreTape, BringsBackTheTapeOfAClosedWindowWithItsDecimalsAndGrandTotal) {
    EXPECT_TRUE(files().isEmpty()) << "a window without a line keeps no file";
    typed(QStringLiteral("12+3=="));
    chord(Qt::Key_3, Qt::ControlModifier, QStringLiteral("3"));
    typed(QStringLiteral("2.5+"));
    const std::vector<std::string> kept = tape();
    const std::string grandTotal = label("lblGrandTotal");
    ASSERT_EQ(grandTotal, "15.00 ");
    ASSERT_EQ(kept.back(), "+ 2.500");
    ASSERT_EQ(files().size(), 1);

    reopen();
    EXPECT_TRUE(tape().empty());
    restore();
    EXPECT_EQ(tape(), kept);
    EXPECT_EQ(decimals(), 3);
    EXPECT_EQ(label("lblGrandTotal"), grandTotal);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(log.questions.empty()) << "an empty tape is replaced without asking";

    // One undo step takes it all back.
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(tape().empty());
    EXPECT_EQ(decimals(), 2);
    EXPECT_EQ(label("lblGrandTotal"), "");
}

TEST_F(RestoreTape, IsInTheTapesMenuAndOnCtrlShiftT) {
    QAction* action = window->command(QStringLiteral("restoreTape"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("&Restore last tape\u2026"));
    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+T")));
    const auto rows = TapeMenuRows();
    EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                           [](const char* id) { return id && qstrcmp(id, "restoreTape") == 0; }),
              rows.end());
}

TEST_F(RestoreTape, OffersTheKeptTapesNewestFirstWhenThereAreSeveral) {
    typed(QStringLiteral("1+"));
    reopen();
    age(files().front(), 5);
    typed(QStringLiteral("2+3="));
    reopen();

    log.choiceAnswers.push_back(1);  // the older one
    restore();
    ASSERT_EQ(log.choices.size(), 1u);
    const auto& items = log.choices.front().items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].ends_with(" \u00B7 3 lines \u00B7 last total 5.00")) << items[0];
    EXPECT_TRUE(items[1].ends_with(" \u00B7 1 line \u00B7 no total")) << items[1];
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 1.00"}));

    log.choiceAnswers.push_back(std::nullopt);  // cancelled: nothing changes
    restore();
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 1.00"}));
}

TEST_F(RestoreTape, AsksBeforeReplacingATapeAndNeverOffersItsOwn) {
    typed(QStringLiteral("7+"));
    restore();  // the only journal is this window's own
    EXPECT_EQ(messages(), (std::vector<std::string>{"There is no kept tape to restore."}));

    reopen();
    typed(QStringLiteral("9+"));
    restore();  // answered "no"
    ASSERT_EQ(log.questions.size(), 1u);
    EXPECT_EQ(log.questions[0].text.substr(0, 35), "Replace the tape with the 1 line ke");
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 9.00"}));
    log.questionAnswers.push_back(true);
    restore();
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 7.00"}));
}

TEST_F(RestoreTape, KeepsItsFilesToItsOwner) {
    typed(QStringLiteral("1+"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder->path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(QFile::encodeName(pathOf(files().front())).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(RestoreTape, AWindowClosedOnAnEmptyTapeLeavesNoFile) {
    typed(QStringLiteral("1+"));
    ASSERT_EQ(files().size(), 1);
    typed(QStringLiteral("L"));
    reopen();
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(RestoreTape, AnUnreadableJournalIsNamedAndMovedAsideNeverDeleted) {
    typed(QStringLiteral("4+"));
    reopen();
    QFile bad(pathOf(QStringLiteral("tape-other.journal")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a journal at all\n");
    bad.close();

    restore();
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 4.00"})) << "the good one still comes back";
    const std::vector<std::string> said = messages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("tape-other.journal cannot be read (it is not a tape journal)"),
              std::string::npos)
        << said[0];
    EXPECT_NE(said[0].find("moved to"), std::string::npos) << said[0];
    QFile aside(pathOf(QStringLiteral("tape-other.journal.unreadable")));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), QByteArray("not a journal at all\n"));
}

TEST_F(RestoreTape, ADamagedEndIsLeftOutAndSaidSo) {
    typed(QStringLiteral("4+"));
    typed(QStringLiteral("5+"));
    reopen();
    QFile file(pathOf(files().front()));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("R\x30\x00\x00", 4);  // a record cut off by a kill
    file.close();

    restore();
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 4.00", "+ 5.00"}));
    const std::vector<std::string> said = messages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("was damaged (a record cut off, 4 bytes)"), std::string::npos)
        << said[0];
}

TEST_F(RestoreTape, KeepsTheNewestTenNeverOneInUse) {
    typed(QStringLiteral("1+"));
    const QString first = pathOf(files().front());
    reopen();
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("tape-old-%1.journal").arg(i, 2, 10, QChar(u'0'));
        ASSERT_TRUE(QFile::copy(first, pathOf(name)));
        age(name, 100 - i);  // old-00 the oldest
    }
    // Another running window writes the oldest one.
    const int held =
        ::open(QFile::encodeName(pathOf(QStringLiteral("tape-old-00.journal"))), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    typed(QStringLiteral("2+"));  // this window's journal is made: the oldest go
    const QStringList left = files();
    ::close(held);
    EXPECT_EQ(left.size(), 11) << left.join(u' ').toStdString();
    EXPECT_TRUE(left.contains(QStringLiteral("tape-old-00.journal")));
    EXPECT_FALSE(left.contains(QStringLiteral("tape-old-01.journal")));
    EXPECT_FALSE(left.contains(QStringLiteral("tape-old-03.journal")));
    EXPECT_TRUE(left.contains(QStringLiteral("tape-old-04.journal")));
}

TEST_F(RestoreTape, AFolderThatCannotBeMadeIsSaidOnceAndTheCalculatorGoesOn) {
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    folder =
        std::make_shared<JournalFolder>(dir.filePath(QStringLiteral("blocked/tallyroll")), true);
    reopen();
    typed(QStringLiteral("12+3="));
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 12.00", "+ 3.00", "= 15.00"}));
    const std::vector<std::string> said = messages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(
        said[0].rfind(
            "The tape cannot be kept in " + dir.filePath("blocked/tallyroll").toStdString(), 0),
        0u)
        << said[0];
    reopen();
    typed(QStringLiteral("4+"));
    EXPECT_TRUE(messages().empty()) << "said once a run";
}

TEST_F(RestoreTape, AFullDiskIsSaidOnceAndTheCalculatorGoesOn) {
    typed(QStringLiteral("1+"));
    // The disk fills: the file may grow no further than 24 KiB.
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 24 << 10;
    ::setrlimit(RLIMIT_FSIZE, &small);
    for (int i = 0; i < 1300; ++i) typed(QStringLiteral("+"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);

    EXPECT_EQ(tape().size(), 1301u);
    const std::vector<std::string> said = messages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("The calculator goes on"), std::string::npos) << said[0];
    // What reached the file still comes back.
    reopen();
    restore();
    EXPECT_GT(tape().size(), 1000u);
    EXPECT_LT(tape().size(), 1301u);
}

TEST_F(RestoreTape, NoJournalWritesNothingButStillRestores) {
    typed(QStringLiteral("6+"));
    folder = std::make_shared<JournalFolder>(folder->path(), false);
    reopen();
    typed(QStringLiteral("8+"));
    EXPECT_EQ(files().size(), 1) << "nothing written for the second window";
    reopen();
    restore();
    EXPECT_EQ(tape(), (std::vector<std::string>{"+ 6.00"}));
}

}  // namespace
}  // namespace tallyroll
