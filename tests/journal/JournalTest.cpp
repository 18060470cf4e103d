// The tape's journal without files: a writer follows a calculator's tape, its
// writes are collected as a file would collect them, and the reader must
// rebuild the tape, its decimals and its grand total label from them, also
// from a file cut off or damaged anywhere.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "journal/Journal.h"
#include "tests/support/Harness.h"

namespace tallyroll {
namespace {

using journal::JournalWriter;
using journal::KeptTape;
using journal::ReadJournal;
using journal::ReadStatus;
using test::Session;

// A calculator whose tape is journaled into `file` after every step.
struct Journaled : Session {
    JournalWriter writer{calc.tape()};
    std::string file;
    std::vector<std::size_t> frameEnds;  // file length after each write
    std::vector<KeptTape> states;        // what each of those lengths rebuilds
    int rewrites = 0;

    Journaled() { calc.setTapeWatcher(&writer); }
    ~Journaled() { calc.setTapeWatcher(nullptr); }

    KeptTape now() const {
        return {calc.tape().lines(), calc.decimalPlaces(), calc.captions().lblGrandTotal};
    }

    // What the window does once a key has been handled.
    journal::JournalWrite commit() {
        journal::JournalWrite w =
            writer.Take(calc.decimalPlaces(), calc.captions().lblGrandTotal, file.size());
        if (w.bytes.empty()) return w;
        if (w.rewrite) {
            file = w.bytes;
            frameEnds.clear();
            states.clear();
            ++rewrites;
        } else {
            file += w.bytes;
        }
        frameEnds.push_back(file.size());
        states.push_back(now());
        return w;
    }

    void step(std::string_view keysTyped) {
        keys(keysTyped);
        commit();
    }
};

TEST(Journal, AKeyThatAddsALineAppendsOneShortRecordAndADigitNothing) {
    Journaled j;
    j.step("12+3=5+");  // the first line makes the file: a whole snapshot
    ASSERT_EQ(j.rewrites, 1);
    const std::size_t before = j.file.size();

    j.keys("4");
    EXPECT_FALSE(j.writer.pending()) << "a digit changed no line";
    EXPECT_TRUE(j.commit().bytes.empty());
    EXPECT_EQ(j.file.size(), before);

    j.keys("+");
    const journal::JournalWrite w = j.commit();
    EXPECT_FALSE(w.rewrite);
    EXPECT_FALSE(w.sync) << "a line typed is not flushed at once";
    EXPECT_LE(w.bytes.size(), 24u) << "one short record for \"+ 4.00\"";
    EXPECT_EQ(ReadJournal(j.file).tape, j.now());

    j.keys("L");  // a clear goes to the disk at once
    EXPECT_TRUE(j.commit().sync);
}

// Random sessions with every kind of change: keys, decimals, corrections,
// undo and redo, opened and restored tapes. After every step the file
// rebuilds exactly the tape the calculator has.
TEST(Journal, RebuildsTheTapeAfterEveryStepOfRandomSessions) {
    std::mt19937 random(2112);
    const std::vector<std::string> keyRuns = {"12+", "3.5-", "*2=", "=", "+", "C",  "CC", "E",
                                              "7/",  "0=",   "G",   "9", "L", "8+", "x",  "-"};
    for (int session = 0; session < 40; ++session) {
        Journaled j;
        j.checkEveryStep = false;
        for (int step = 0; step < 300; ++step) {
            const unsigned what = random() % 20;
            if (what < 12) {
                j.keys(keyRuns[random() % keyRuns.size()]);
            } else if (what == 12) {
                const int d = static_cast<int>(random() % 7);
                j.view.setDecimalSelection(d);
                j.calc.cboDecPlace_Click(d);
            } else if (what == 13) {
                j.calc.Undo();
            } else if (what == 14) {
                j.calc.Redo();
            } else if (what == 15 && j.calc.tape().count() > 0) {
                const int line = static_cast<int>(random() % j.calc.tape().count());
                j.calc.selectTapeLine(line);
                j.calc.lstTape_DblClick();
                if (j.view.panelVisible) {
                    j.view.setChangeTo(std::to_string(random() % 100));
                    j.calc.cmdSaveChange_Click();
                }
            } else if (what == 16) {
                j.calc.ReplaceTape({"+ 1.00", "+ 2.00", "= 3.00"});
            } else if (what == 17) {
                j.calc.RestoreTape({"+ 5.0", "= 5.0"}, 1, "5.0 ");
            } else if (what == 18) {
                j.click("sqr");
            } else {
                j.click("G");
            }
            j.commit();
            ASSERT_EQ(ReadJournal(j.file).tape, j.now())
                << "session " << session << " step " << step;
        }
    }
}

// Cut off after any byte (a kill inside a write, a disk that lost the end):
// everything up to the last whole frame comes back, and what was dropped is said.
TEST(Journal, ACutOffFileRebuildsTheTapeOfItsLastWholeFrame) {
    Journaled j;
    for (const char* k : {"12+", "3=", "=", "5*", "4=", "C", "1/", "8="}) j.step(k);
    ASSERT_GT(j.frameEnds.size(), 5u);
    std::size_t frame = 0;
    for (std::size_t cut = 0; cut <= j.file.size(); ++cut) {
        while (frame + 1 < j.frameEnds.size() && j.frameEnds[frame + 1] <= cut) ++frame;
        const auto out = ReadJournal(std::string_view(j.file).substr(0, cut));
        ASSERT_NE(out.status, ReadStatus::Unreadable) << "cut at " << cut;
        if (cut < j.frameEnds.front()) {
            EXPECT_TRUE(out.tape.lines.empty()) << "cut at " << cut;
            continue;
        }
        EXPECT_EQ(out.tape, j.states[frame]) << "cut at " << cut;
        const bool atFrameEnd = cut == j.frameEnds[frame];
        EXPECT_EQ(out.status, atFrameEnd ? ReadStatus::Whole : ReadStatus::Damaged);
        EXPECT_EQ(out.droppedBytes, cut - j.frameEnds[frame]);
        if (!atFrameEnd) {
            EXPECT_EQ(out.problem, "a record cut off") << "cut at " << cut;
        }
    }
}

TEST(Journal, DamageStopsTheTapeAtTheFrameBeforeIt) {
    Journaled j;
    for (const char* k : {"12+", "3=", "=", "5*", "4="}) j.step(k);
    const std::size_t frames = j.frameEnds.size();
    ASSERT_GE(frames, 4u);
    // One byte changed anywhere in frame k leaves the tape of frame k - 1.
    for (std::size_t k = 1; k < frames; ++k) {
        for (std::size_t at = j.frameEnds[k - 1]; at < j.frameEnds[k]; ++at) {
            std::string damaged = j.file;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
            const auto out = ReadJournal(damaged);
            EXPECT_EQ(out.status, ReadStatus::Damaged) << "byte " << at;
            EXPECT_EQ(out.tape, j.states[k - 1]) << "byte " << at;
            EXPECT_EQ(out.goodBytes, j.frameEnds[k - 1]);
        }
    }
    // Zeros after the last frame are room the writer made ready, not damage;
    // a frame cut off inside them is dropped with them.
    const auto spare = ReadJournal(j.file + std::string(100, '\0'));
    EXPECT_EQ(spare.status, ReadStatus::Whole);
    EXPECT_EQ(spare.tape, j.states.back());
    EXPECT_EQ(spare.spareBytes, 100u);
    const std::string cut = journal::Frame("A\x06+ 9.00").substr(0, 7);
    const auto cutInRoom = ReadJournal(j.file + cut + std::string(100, '\0'));
    EXPECT_EQ(cutInRoom.status, ReadStatus::Damaged);
    EXPECT_EQ(cutInRoom.tape, j.states.back());
    EXPECT_EQ(cutInRoom.droppedBytes, 107u);
    // Garbage after the last frame: everything before it, and its length.
    const auto out = ReadJournal(j.file + "garbage!");
    EXPECT_EQ(out.tape, j.states.back());
    EXPECT_EQ(out.droppedBytes, 8u);
    EXPECT_EQ(out.problem, "damaged bytes");
}

TEST(Journal, FramesOfAnUnknownKindEndTheTapeBeforeThem) {
    Journaled j;
    j.step("12+3=");
    const KeptTape whole = j.states.back();
    // A whole frame (its checksum right) with an op this version does not know,
    // as a later version might write, then a frame this version knows.
    std::string later = j.file + journal::Frame("Zsomething") + journal::Frame("C");
    const auto out = ReadJournal(later);
    EXPECT_EQ(out.status, ReadStatus::Damaged);
    EXPECT_EQ(out.tape, whole);
    EXPECT_EQ(out.problem, "a record this version cannot read");
    // A line rewritten beyond the tape's end is not the writer's either.
    std::string beyond;
    beyond.push_back('P');
    journal::PutVarint(beyond, 3);
    journal::PutText(beyond, "+ 1.00");
    EXPECT_EQ(ReadJournal(j.file + journal::Frame(beyond)).tape, whole);
}

struct HeaderCase {
    const char* name;
    std::string bytes;
    ReadStatus status;
    const char* problem;
};

class JournalHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(JournalHeader, IsReadOrRefusedAsAWhole) {
    const auto out = ReadJournal(GetParam().bytes);
    EXPECT_EQ(out.status, GetParam().status);
    EXPECT_EQ(out.problem, GetParam().problem);
    EXPECT_TRUE(out.tape.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalHeader,
    testing::Values(HeaderCase{"empty_file", "", ReadStatus::Whole, ""},
                    HeaderCase{"header_only", "tallyroll tape journal 1\n", ReadStatus::Whole, ""},
                    HeaderCase{"header_cut_off", "tallyroll tape jour", ReadStatus::Damaged,
                               "its first line was cut off"},
                    HeaderCase{"another_file", "+ 12.00\n+ 3.00\n", ReadStatus::Unreadable,
                               "it is not a tape journal"},
                    HeaderCase{"newer_format", "tallyroll tape journal 2\nR",
                               ReadStatus::Unreadable,
                               "it was written by a newer version (format 2)"},
                    HeaderCase{"bad_version", "tallyroll tape journal one\n",
                               ReadStatus::Unreadable, "its format is unknown"},
                    HeaderCase{"no_line_end",
                               std::string("tallyroll tape journal 1") + std::string(80, '1'),
                               ReadStatus::Unreadable, "it is not a tape journal"}),
    test::RowName());

// Saves a correction of the first operator line from `line` on, if any.
void correctLineNear(Journaled& j, int line) {
    for (; line < j.calc.tape().count(); ++line) {
        j.calc.selectTapeLine(line);
        j.calc.lstTape_DblClick();
        if (!j.view.panelVisible) continue;
        j.view.setChangeTo("7");
        j.calc.cmdSaveChange_Click();
        return;
    }
}

// A long session of a full tape with many clears, corrections and undos: the
// file never grows past twice its compacted size and the slack, and still
// rebuilds the tape.
TEST(Journal, StaysBoundedOverALongSessionWithClearsAndUndos) {
    Journaled j;
    j.checkEveryStep = false;
    std::mt19937 random(77);
    for (int step = 0; step < 60000; ++step) {
        const unsigned what = random() % 1000;
        if (what < 2)
            j.keys("L");
        else if (what < 4)
            j.calc.Undo();
        else if (what < 5)
            j.calc.Redo();
        else if (what < 6)
            correctLineNear(j, j.calc.tape().count() / 2);
        else if (what < 500)
            j.keys("+");
        else
            j.keys(what % 2 ? "12+" : "3=");
        j.commit();
        const std::size_t bound =
            JournalWriter::kGrowth * j.writer.SnapshotBytes(j.calc.captions().lblGrandTotal) +
            JournalWriter::kSlack;
        ASSERT_LE(j.file.size(), bound) << "step " << step;
        if (step % 1000 == 0) {  // the size kept as the tape changes is the size made
            const std::string& label = j.calc.captions().lblGrandTotal;
            ASSERT_EQ(j.writer.SnapshotBytes(label),
                      j.writer.Snapshot(j.calc.decimalPlaces(), label).size())
                << "step " << step;
        }
    }
    EXPECT_EQ(ReadJournal(j.file).tape, j.now());
    EXPECT_GT(j.rewrites, 1) << "the file was never compacted";
}

TEST(Journal, AFullTapeLosesItsOldestLineInTheFileToo) {
    Journaled j;
    j.checkEveryStep = false;
    j.keys("1+");
    while (j.calc.tape().count() < TapeList::kMaxLines) j.keys("+");
    j.commit();
    j.keys("2+");
    for (int i = 0; i < 50; ++i) j.step("+");
    ASSERT_EQ(j.calc.tape().count(), TapeList::kMaxLines);
    EXPECT_EQ(ReadJournal(j.file).tape, j.now());
}

// A kept tape comes back line for line, even where a recalculation would
// write its totals otherwise (totals typed live come from unrounded numbers,
// lines keep the decimals they were written with), with its decimals and
// grand total label; the calculation follows from the lines; one undo step.
TEST(KeptTapeRestored, PutsTheLinesBackAsTheyWereInOneUndoStep) {
    Session s;
    s.keys("12+");
    const std::vector<std::string> kept = {"+ 1.414", "+ 1.414", "= 2.83", test::SEP, "+ 5.0"};
    s.calc.RestoreTape(kept, 3, "2.830 ");
    EXPECT_EQ(s.tape(), kept);
    EXPECT_EQ(s.calc.tape().selected(), 4);
    EXPECT_EQ(s.calc.decimalPlaces(), 3);
    EXPECT_EQ(s.view.decimalSelection, 3);
    EXPECT_EQ(s.st().strFormat, "#0.000");
    EXPECT_EQ(s.view.grandTotal, "2.830 ");
    EXPECT_DOUBLE_EQ(s.st().dblGrandTotal, 2.828);  // from the lines
    EXPECT_DOUBLE_EQ(s.st().dblTotal, 5);
    EXPECT_EQ(s.calc.history().undoName(), "Restore tape");

    s.calc.Undo();
    EXPECT_EQ(s.tape(), (std::vector<std::string>{"+ 12.00"}));
    EXPECT_EQ(s.calc.decimalPlaces(), 2);
    EXPECT_EQ(s.view.grandTotal, "");
    s.calc.Redo();
    EXPECT_EQ(s.tape(), kept);
}

}  // namespace
}  // namespace tallyroll
