// The tape's storage, its line limit and its grammar.
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {

TEST(TapeList, AppendSelectsAndMissingLinesReadEmpty) {
    TapeList tape;
    EXPECT_EQ(tape.last(), "");
    EXPECT_EQ(tape.line(-1), "");
    AddToTape(tape, "+ 1.00");
    EXPECT_EQ(tape.count(), 1);
    EXPECT_EQ(tape.selected(), 0);
    EXPECT_EQ(tape.line(5), "");
}

TEST(TapeList, DirectAddLeavesTheSelection) {
    TapeList tape;
    AddToTape(tape, "+ 1.00");
    AddDirect(tape, "G 1.00");
    EXPECT_EQ(tape.selected(), 0);
    EXPECT_EQ(tape.count(), 2);
}

TEST(TapeList, HoldsAtMostTheLimitDroppingTheOldest) {
    TapeList tape;
    for (int i = 0; i < TapeList::kMaxLines; ++i) AddToTape(tape, "+ " + std::to_string(i) + ".00");
    ASSERT_EQ(tape.count(), TapeList::kMaxLines);
    AddToTape(tape, "= 1.00");
    EXPECT_EQ(tape.count(), TapeList::kMaxLines);
    EXPECT_EQ(tape.line(0), "+ 1.00");
    EXPECT_EQ(tape.last(), "= 1.00");
    EXPECT_EQ(tape.selected(), TapeList::kMaxLines - 1);
    // Lines added directly are trimmed too, and the selection follows its line.
    AddDirect(tape, "G 1.00");
    AddDirect(tape, SEP);
    EXPECT_EQ(tape.count(), TapeList::kMaxLines);
    EXPECT_EQ(tape.selected(), TapeList::kMaxLines - 3);
    EXPECT_EQ(tape.line(tape.selected()), "= 1.00");
}

TEST(TapeList, FullTapeThroughTheKeysStaysAtTheLimit) {
    Session s;
    s.checkEveryStep = false;
    for (int i = 0; i < TapeList::kMaxLines / 2 + 10; ++i) s.keys("1+{neg}+");
    EXPECT_EQ(CheckInvariants(s.calc, s.view), "");
    EXPECT_EQ(s.calc.tape().count(), TapeList::kMaxLines);
    EXPECT_EQ(s.calc.tape().selected(), TapeList::kMaxLines - 1);
}

TEST(TapeList, BatchSendsOneNoticeForManyChanges) {
    TapeList tape;
    HeadlessView view;
    for (int i = 0; i < 100; ++i) AddToTape(tape, "+ 1.00");
    tape.setObserver(&view);
    {
        TapeList::Batch batch(tape);
        for (int i = 0; i < 100; ++i) tape.replace(i, "+ 2.00");
    }
    EXPECT_EQ(view.tapeNotices, 1);
    tape.setObserver(nullptr);
}

TEST(TapeLine, KindIsToldByTheFirstCharacter) {
    const std::pair<std::string, LineKind> rows[] = {
        {"+ 12.00", LineKind::Operator},
        {M + " 2.50", LineKind::Operator},
        {"x 3.00", LineKind::Operator},
        {"/ 4.00", LineKind::Operator},
        {"= 15.00", LineKind::Total},
        {"= 15.00 sub total", LineKind::SubTotal},
        {"G 1234.50", LineKind::GrandTotal},
        {SEP, LineKind::Separator},
        {"1/x 2.00", LineKind::Other},
        {"- 2.00", LineKind::Other},
        {"", LineKind::Other},
        {"X 2.00", LineKind::Other},
    };
    for (const auto& [line, kind] : rows) EXPECT_EQ(ClassifyLine(line), kind) << line;
}

TEST(TapeLine, CharactersCountTheMinusAsOne) {
    const std::string line = M + " 2.50";
    EXPECT_EQ(FirstChar(line), M);
    EXPECT_EQ(FromChar(line, 2), " 2.50");
    EXPECT_EQ(FromChar(line, 3), "2.50");
    EXPECT_EQ(FromChar("+ 1.00", 3), "1.00");
    EXPECT_EQ(FromChar("+", 3), "");
    EXPECT_EQ(FirstChar("\xE2"), "\xE2");  // a stray byte stands for itself
}

TEST(TapeLine, NegativeNumbersAndSubtractionsAsWritten) {
    Session s;
    s.keys("5{neg}+");
    EXPECT_EQ(s.tape().back(), "+ -5.00");
    Session t;
    t.keys("9-2.5+");
    EXPECT_EQ(t.tape().back(), M + " 2.50");
    EXPECT_EQ(t.view.operatorText, "+");
    t.keys("1-");
    EXPECT_EQ(t.view.operatorText, M);
}

}  // namespace
}  // namespace tallyroll::test
