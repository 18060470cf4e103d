// Property tests: seeded random sessions, number texts and tapes, each checked
// against the invariants and the reference implementations, plus a replay of
// the sequence fuzzer's starting corpus so that its findings stay fixed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/Calculator.h"
#include "tape/Recalculate.h"
#include "tape/TapeLine.h"
#include "tests/support/ActionSequence.h"
#include "tests/support/Invariants.h"
#include "tests/support/Reference.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

std::string Describe(std::span<const std::uint8_t> bytes) {
    const SequenceOutcome traced = RunActionSequence(bytes, true);
    return traced.failure + "\nsession:\n" + traced.trace;
}

TEST(RandomSessions, KeepEveryInvariant) {
    std::mt19937 random(20261207);
    for (int session = 0; session < 400; ++session) {
        std::vector<std::uint8_t> bytes(1 + random() % 160);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        const SequenceOutcome out = RunActionSequence(bytes);
        ASSERT_EQ(out.failure, "") << "session " << session << ": " << Describe(bytes);
    }
}

TEST(SequenceCorpus, ReplaysClean) {
    const std::filesystem::path dir =
        std::filesystem::path(TALLYROLL_SOURCE_DIR) / "fuzz/corpus/sequence";
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        const SequenceOutcome out = RunActionSequence(bytes);
        EXPECT_EQ(out.failure, "") << entry.path().filename() << ": " << Describe(bytes);
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

// Doubles of every kind: raw bit patterns, and decimal values with few digits
// whose halves sit exactly where the rounding rule decides.
double RandomValue(std::mt19937_64& random) {
    switch (random() % 3) {
        case 0: {
            const std::uint64_t bits = random();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        case 1:
            return static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) /
                   std::pow(10.0, static_cast<double>(random() % 9));
        default:
            return (static_cast<double>(random() % 100000) + 0.5) /
                   std::pow(10.0, static_cast<double>(random() % 7)) * (random() % 2 ? 1 : -1);
    }
}

TEST(NumberText, FormatAgreesWithTheReference) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double v = RandomValue(random);
        for (int n = 0; n <= 6; ++n)
            ASSERT_EQ(FormatNumber(v, PatternFor(n)), reference::Format(v, n))
                << std::hexfloat << v << " n=" << n;
        ASSERT_TRUE(IsGeneralNumber(FormatGeneral(v))) << FormatGeneral(v);
    }
}

TEST(NumberText, ReadersAgreeWithTheReference) {
    static const char alphabet[] = " \t\n+-.0123456789eEdDx";
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 14, ' ');
        for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
        const ReadResult got = ReadNumber(text), want = reference::Read(text);
        ASSERT_EQ(got.overflow, want.overflow) << '"' << text << '"';
        ASSERT_EQ(got.value, want.value) << '"' << text << '"';
        ASSERT_EQ(StrictNumber(text), reference::Strict(text)) << '"' << text << '"';
    }
}

// Tapes mostly as the engine writes them, with a share of odd lines.
std::vector<std::string> RandomTape(std::mt19937& random) {
    static const std::string kinds[] = {
        "+ ", "x ", "/ ", std::string(kMinus) + " ", "= ", "G ", "1/x ", "- ", "X ", ""};
    static const char* numbers[] = {
        "0.00", "5.00", "-3.50", "1e300", "12.", "abc", "100000000000000000000.00"};
    std::vector<std::string> lines(random() % 12);
    for (auto& line : lines) {
        const auto k = random() % 12;
        if (k >= 10)
            line = std::string(kSeparator);
        else
            line = kinds[k] + numbers[random() % std::size(numbers)] +
                   (random() % 8 ? "" : " sub total");
    }
    return lines;
}

TEST(Recalculation, AgreesWithTheReferenceAndIsStable) {
    std::mt19937 random(3);
    for (int i = 0; i < 5000; ++i) {
        const std::vector<std::string> lines = RandomTape(random);
        const std::string pattern =
            random() % 8 == 7 ? "" : PatternFor(static_cast<int>(random() % 7));
        TapeList tape;
        for (const auto& line : lines) tape.add(line);
        const RecalcOutcome got =
            RecalculateTape(tape, [&](double v) { return FormatNumber(v, pattern); });
        const reference::Recalculation want = reference::Recalculate(lines, pattern);
        for (int k = 0; k < tape.count(); ++k)
            ASSERT_EQ(tape.line(k), want.lines[static_cast<std::size_t>(k)]);
        ASSERT_EQ(got.grandTotal, want.grandTotal);
        ASSERT_EQ(got.runningTotal, want.runningTotal);
        ASSERT_EQ(got.display, want.display);
        ASSERT_EQ(got.grandTotalLabel, want.grandTotalLabel);
        ASSERT_EQ(static_cast<int>(got.faults.size()), want.faults);
        ASSERT_EQ(CheckRecalculation(tape, pattern), "");
    }
}

// At the 32,766-line limit the tape trims its oldest line on every add,
// whatever key adds it, and every invariant still holds.
TEST(TapeLimit, RandomKeysOnAFullTape) {
    SessionLog log;
    HeadlessView view(&log);
    Calculator calc(view);
    calc.SetStartValue(0);
    calc.Form_Activate();
    auto press = [&](char c) {
        std::int16_t code = static_cast<unsigned char>(c);
        CheckKeyPress(calc, code);
    };
    press('5');
    while (calc.tape().count() < TapeList::kMaxLines) press('+');  // repeats "+ 5.00"
    ASSERT_EQ(CheckInvariants(calc, view), "");

    // Every key of the table except those that leave or empty the window.
    std::vector<char> keys{'0', '1', '5', '9'};
    for (const KeyBinding& k : KeyTable())
        if (std::strchr("sSxXlLpP", k.code) == nullptr) keys.push_back(static_cast<char>(k.code));
    std::mt19937 random(5);
    for (int i = 0; i < 300; ++i) {
        press(keys[random() % keys.size()]);
        if (i % 3 == 0) calc.cmdNegitive_Click();
        ASSERT_EQ(CheckInvariants(calc, view), "") << "key " << i;
        ASSERT_LE(calc.tape().count(), TapeList::kMaxLines);
        log.messages.clear();
    }
    EXPECT_EQ(calc.tape().count(), TapeList::kMaxLines);
}

}  // namespace
}  // namespace tallyroll
