// Undo and redo of clearing the tape and of saved changes: an undo puts back
// the tape, the selection, the members, the captions and the decimals exactly;
// a redo returns to what the undo left; later actions drop the redo steps.
#include <functional>

#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {

// Everything an undo must put back.
struct Whole {
    Lines tape;
    int selected;
    CalcState state;
    std::string result, op, grandTotal;
    bool memory;
    int decimals;

    bool operator==(const Whole&) const = default;
};

Whole Capture(const Session& s) {
    const Captions& c = s.calc.captions();
    return {s.tape(),
            s.calc.tape().selected(),
            s.st(),
            c.lblResult,
            c.lblOperator,
            c.lblGrandTotal,
            c.lblMemoryVisible,
            s.calc.decimalPlaces()};
}

void PrintTo(const Whole& w, std::ostream* os) {
    *os << "display " << w.result << ", " << w.tape.size() << " lines, selected " << w.selected;
}

struct UndoRow {
    const char* name;
    std::function<void(Session&)> before;  // builds the state the action meets
    std::function<void(Session&)> action;  // the undoable action
    std::function<void(Session&)> after;   // typing after it, taken back too
};

void Clear(Session& s) {
    s.keys("L");
}

class UndoRestores : public testing::TestWithParam<UndoRow> {};

// Undo gives back the state just before the action; redo the state just
// before the undo; undo again the state before the action once more.
TEST_P(UndoRestores, ExactlyBeforeAndAfter) {
    const UndoRow& row = GetParam();
    Session s;
    row.before(s);
    const Whole before = Capture(s);
    row.action(s);
    if (row.after) row.after(s);
    const Whole after = Capture(s);
    ASSERT_NE(before, after) << "the action changed nothing";

    s.calc.Undo();
    EXPECT_EQ(Capture(s), before);
    s.calc.Redo();
    EXPECT_EQ(Capture(s), after);
    s.calc.Undo();
    EXPECT_EQ(Capture(s), before);
    EXPECT_EQ(s.log.beeps, 0);
    EXPECT_EQ(CheckInvariants(s.calc, s.view), "");
}

INSTANTIATE_TEST_SUITE_P(
    Clear, UndoRestores,
    testing::Values(UndoRow{"TotalsGrandTotalMemoryDecimals",
                            [](Session& s) {
                                s.keys("12+3==5{M+}");
                                s.calc.cboDecPlace_Click(3);
                                s.keys("7+8=");
                            },
                            Clear, nullptr},
                    UndoRow{"PendingOperatorSurvives", [](Session& s) { s.keys("4+5x"); }, Clear,
                            nullptr},
                    UndoRow{"SelectionMovedByHand",
                            [](Session& s) {
                                s.keys("1+2+3=");
                                s.calc.selectTapeLine(1);
                            },
                            Clear, nullptr},
                    UndoRow{"LinesTypedAfterTheClear", [](Session& s) { s.keys("9+9=="); }, Clear,
                            [](Session& s) { s.keys("6+1="); }}),
    RowName());

// A change: the line is selected before the state is taken, as a double
// click selects it before the panel opens.
std::function<void(Session&)> Typed(std::string keys, int line) {
    return [keys, line](Session& s) {
        s.keys(keys);
        s.calc.selectTapeLine(line);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Change, UndoRestores,
    testing::Values(UndoRow{"InsideAClosedCalculation", Typed("5+3==", 0),
                            [](Session& s) { s.change(0, "6", "+"); }, nullptr},
                    UndoRow{"OpenCalculationMovesTotalAndDisplay", Typed("10-4+2+", 1),
                            [](Session& s) { s.change(1, "5", "-"); }, nullptr},
                    UndoRow{"GrandTotalLineRewritten", Typed("5+4==7+1==G", 4),
                            [](Session& s) { s.change(4, "2", "+"); }, nullptr},
                    UndoRow{"AfterTheDecimalsChanged",
                            [](Session& s) {
                                Typed("1.25+2=", 0)(s);
                                s.calc.cboDecPlace_Click(0);
                            },
                            [](Session& s) { s.change(0, "3", "x"); },
                            [](Session& s) { s.keys("4+"); }}),
    RowName());

// What drops the redo steps, and what does not.
struct DropRow {
    const char* name;
    std::function<void(Session&)> between;  // after the undo
    bool redoStays;
};

class RedoAfter : public testing::TestWithParam<DropRow> {};

TEST_P(RedoAfter, AnotherAction) {
    const DropRow& row = GetParam();
    Session s;
    s.keys("12+3=L");
    s.calc.Undo();
    row.between(s);
    const Whole now = Capture(s);
    s.calc.Redo();
    if (row.redoStays) {
        EXPECT_EQ(s.log.beeps, 0);
        EXPECT_EQ(s.tape(), Lines{});
    } else {
        EXPECT_EQ(s.log.beeps, 1);
        EXPECT_EQ(Capture(s), now) << "a refused redo changed something";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drop, RedoAfter,
    testing::Values(DropRow{"OperatorWritesTheTape", [](Session& s) { s.keys("+"); }, false},
                    DropRow{"DigitChangesTheEntry", [](Session& s) { s.keys("7"); }, false},
                    DropRow{"DecimalsChosen", [](Session& s) { s.calc.cboDecPlace_Click(4); },
                            false},
                    DropRow{"MemoryKey", [](Session& s) { s.click("M+"); }, false},
                    DropRow{"ClearAgainIsANewStep", [](Session& s) { s.keys("L"); }, false}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Keep, RedoAfter,
    testing::Values(DropRow{"SelectingALine", [](Session& s) { s.calc.selectTapeLine(0); }, true},
                    DropRow{"CancelledChangePanel",
                            [](Session& s) {
                                s.calc.selectTapeLine(0);
                                s.calc.lstTape_DblClick();
                                s.calc.cmdCancelChange_Click();
                            },
                            true}),
    RowName());

// An action that clears the tape and writes new lines in its own step, as
// opening a tape file does: one step, named after the outer action.
TEST(UndoHistory, ActionInsideAnotherIsOneStep) {
    Session s;
    s.keys("12+3==");
    const Whole before = Capture(s);
    {
        const Calculator::UndoScope open(s.calc, "Open tape");
        s.calc.cmdClear_Click();
        s.keys("5+6=");
    }
    const Whole after = Capture(s);
    EXPECT_EQ(s.calc.history().undoCount(), 1u);
    EXPECT_EQ(s.calc.history().undoName(), "Open tape");
    s.calc.Undo();
    EXPECT_EQ(Capture(s), before);
    s.calc.Redo();
    EXPECT_EQ(Capture(s), after);
    EXPECT_EQ(s.log.beeps, 0);
}

TEST(UndoHistory, BeyondTheHistoryBeeps) {
    Session s;
    s.calc.Undo();
    s.calc.Redo();
    s.keys("L");  // a clear of an empty tape changes nothing: no step
    s.calc.Undo();
    EXPECT_EQ(s.log.beeps, 3);
}

TEST(UndoHistory, KeepsTheLastFiftySteps) {
    Session s;
    s.keys("1+2=");
    for (int i = 0; i < 51; ++i) s.change(0, std::to_string(i + 10), "+");
    const Lines afterFirst = [] {
        Session t;
        t.keys("1+2=");
        t.change(0, "10", "+");
        return t.tape();
    }();
    for (int i = 0; i < 50; ++i) s.calc.Undo();
    EXPECT_EQ(s.log.beeps, 0);
    EXPECT_EQ(s.tape(), afterFirst) << "the oldest step went, not another";
    s.calc.Undo();
    EXPECT_EQ(s.log.beeps, 1);
}

// A full tape: the step keeps only what changed, and lines typed after it
// that push the oldest lines off the tape are taken back line by line.
class FullTape : public testing::Test {
  protected:
    void SetUp() override {
        s.checkEveryStep = false;
        while (s.calc.tape().count() < TapeList::kMaxLines) s.keys("12+7==");
    }
    Session s;
};

TEST_F(FullTape, FiftyChangesStayUnderTheMemoryTarget) {
    for (int i = 0; i < 50; ++i)
        s.change(i * 600 + 2, std::to_string(i + 100), "+");  // "+ 12.00" lines
    EXPECT_EQ(s.calc.history().undoCount(), 50u);
    EXPECT_LT(s.calc.history().bytes(), UndoHistory::kMaxBytes);
}

TEST_F(FullTape, TrimmedLinesComeBack) {
    s.calc.selectTapeLine(3);
    const Whole full = Capture(s);
    s.change(3, "99", "+");
    s.keys("5+5=5+5=");  // six lines: the six oldest go
    const Whole typed = Capture(s);
    ASSERT_EQ(s.calc.tape().count(), TapeList::kMaxLines);
    s.calc.Undo();
    EXPECT_EQ(Capture(s), full);
    s.calc.Redo();
    EXPECT_EQ(Capture(s), typed);
    EXPECT_EQ(s.log.beeps, 0);
}

TEST_F(FullTape, ClearKeepsTheLinesOnce) {
    const Whole full = Capture(s);
    s.keys("L");
    EXPECT_LT(s.calc.history().bytes(), UndoHistory::kMaxBytes);
    s.calc.Undo();
    EXPECT_EQ(Capture(s), full);
}

// A change that rewrites many total lines keeps only what a recalculation
// cannot give back; undo and redo still give the tapes back exactly.
struct ManyRow {
    const char* name;
    std::string first, repeated;
    int line;
    bool small;  // kept in a few hundred bytes
};

class ManyLines : public testing::TestWithParam<ManyRow> {};

TEST_P(ManyLines, UndoAndRedoAreExact) {
    const ManyRow& row = GetParam();
    Session s;
    s.checkEveryStep = false;
    s.keys(row.first);
    for (int i = 0; i < 150; ++i) s.keys(row.repeated);
    s.calc.selectTapeLine(row.line);
    const Whole before = Capture(s);
    s.change(row.line, "7", "+");
    const Whole after = Capture(s);
    EXPECT_EQ(row.small, s.calc.history().bytes() < 2048) << s.calc.history().bytes();
    s.calc.Undo();
    EXPECT_EQ(Capture(s), before);
    s.calc.Redo();
    EXPECT_EQ(Capture(s), after);
    s.calc.Undo();
    EXPECT_EQ(Capture(s), before);
}

INSTANTIATE_TEST_SUITE_P(
    Change, ManyLines,
    testing::Values(ManyRow{"SubTotalUnderEveryNumber", "1+=", "+2=", 0, true},
                    ManyRow{"LiveTotalsUnlikeTheRoundedTape", "1+=", "+.3333=", 0, false},
                    ManyRow{"GrandTotalsAfterSeparators", "1+==", "+2==G", 0, true}),
    RowName());

}  // namespace
}  // namespace tallyroll::test
