// Seeded random calculations through the keys, against plain left-to-right
// arithmetic, and the tape read back line by line against the total it shows.
// The numbers come from a small pool so that running totals pass through zero
// often: that is where an adding machine is easiest to get wrong.
#include <cmath>
#include <random>
#include <sstream>

#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {

struct Number {
    const char* keys;  // typed as is
    double value;
};

// Whole and decimal numbers; none is 0, which an operator takes as no entry.
constexpr Number kPool[] = {{"1", 1},     {"2", 2},       {"3", 3},       {"5", 5},
                            {"7", 7},     {"10", 10},     {"12", 12},     {"0.5", 0.5},
                            {"2.5", 2.5}, {"1.25", 1.25}, {"0.75", 0.75}, {"10.1", 10.1}};

constexpr char kOps[] = {'+', '-', '*', '/'};

double Apply(char key, double total, double n) {
    switch (key) {
        case '+':
            return total + n;
        case '-':
            return total - n;
        case '*':
            return total * n;
        default:
            return total / n;
    }
}

// The tape's lines from `from` on, read back as a person would check them: an
// operator line applies its number, a separator starts again from 0 (a
// negative entry restates the total before it, rounded to the decimals
// shown). Returns the value and how far the rounding of a restated total can
// move it.
struct ReadBack {
    double value = 0, slack = 0;
    bool ok = true;
};

ReadBack ReadTapeBack(const Lines& tape, std::size_t from) {
    ReadBack r;
    bool afterSeparator = false, anyLine = false;
    for (std::size_t i = from; i < tape.size(); ++i) {
        const std::string& line = tape[i];
        if (line == SEP) {
            r.value = 0;
            afterSeparator = anyLine;
            continue;
        }
        if (line[0] == '=') continue;
        const std::string op = line.substr(0, line.find(' '));
        const std::optional<double> n = StrictNumber(line.substr(line.find(' ') + 1));
        if (!n) return {0, 0, false};
        const char key = op == "+" ? '+' : op == M ? '-' : op == "x" ? '*' : op == "/" ? '/' : 0;
        if (!key) return {0, 0, false};
        if (afterSeparator) {
            r.slack = 0.005;  // the restated total, as shown
        } else if (key == '*') {
            r.slack *= std::fabs(*n);
        } else if (key == '/') {
            r.slack /= std::fabs(*n);
        }
        r.value = Apply(key, r.value, *n);
        afterSeparator = false;
        anyLine = true;
    }
    return r;
}

TEST(RandomCalculations, MatchLeftToRightArithmeticAndTheTapeAddsUp) {
    std::mt19937 random(20261218);
    int calculations = 0, zeroCrossings = 0;
    for (int session = 0; session < 160; ++session) {
        Session s;
        for (int calc = 0; calc < 25; ++calc, ++calculations) {
            // How the previous calculation is left: a digit starts the next one
            // after its total, or "=" closes it, "G" writes the grand total, "C"
            // drops it; now and then an unfinished one is dropped first.
            static const char* const kBetween[] = {"", "", "=", "G", "C"};
            std::string keys = kBetween[random() % std::size(kBetween)];
            if (random() % 5 == 0) keys += "8+3-C";
            s.keys(keys);
            const std::size_t from = s.tape().size();

            std::ostringstream typed;
            const int count = 2 + static_cast<int>(random() % 5);
            double expected = 0;
            for (int i = 0; i < count; ++i) {
                const Number& n = kPool[random() % std::size(kPool)];
                const bool negative = random() % 4 == 0;
                const double value = negative ? -n.value : n.value;
                const char op = kOps[random() % std::size(kOps)];
                if (i > 0 && expected == 0) ++zeroCrossings;
                expected = i == 0 ? value : Apply(typed.str().back(), expected, value);
                typed << n.keys << (negative ? "{neg}" : "") << (i + 1 < count ? op : '=');
            }
            s.keys(typed.str());
            const std::string trace = keys + " | " + typed.str();

            ASSERT_NEAR(s.st().dblEntry, expected, 1e-9 * std::max(1.0, std::fabs(expected)))
                << trace;
            ASSERT_EQ(s.view.result, FormatNumber(expected, "#0.00")) << trace;
            const Lines tape = s.tape();
            const ReadBack back = ReadTapeBack(tape, from);
            ASSERT_TRUE(back.ok) << trace;
            const double total = s.st().dblTotal;
            ASSERT_NEAR(back.value, total, back.slack + 1e-9 * std::max(1.0, std::fabs(total)))
                << trace;
            // A total is written unless it is exactly 0.
            if (s.st().dblTotal != 0)
                ASSERT_EQ(tape.back(), "= " + s.view.result) << trace;
            else
                ASSERT_NE(tape.back()[0], '=') << trace;
        }
    }
    EXPECT_EQ(calculations, 4000);
    EXPECT_GT(zeroCrossings, 100);  // the pool keeps the case this test is about common
}

}  // namespace
}  // namespace tallyroll::test
