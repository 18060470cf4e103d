// Tape files, the CSV export, what a paste may enter, and replacing the tape.
#include "tape/TapeFile.h"

#include <variant>

#include "tape/PasteText.h"
#include "tests/support/Harness.h"

namespace tallyroll::test {
namespace {

// ---- One line of a tape file ------------------------------------------------

struct LineRow {
    const char* name;
    std::string line;
    bool good;
};

class TapeFileLine : public testing::TestWithParam<LineRow> {};

TEST_P(TapeFileLine, IsTakenOrRefused) {
    const LineRow& row = GetParam();
    const std::string why = CheckTapeFileLine(row.line);
    EXPECT_EQ(why.empty(), row.good) << why;
    if (row.good) {
        EXPECT_EQ(CheckTapeLine(row.line), "");  // what every tape keeps
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, TapeFileLine,
                         testing::Values(LineRow{"operator_add", "+ 12.00", true},
                                         LineRow{"operator_minus_character", M + " 2.50", true},
                                         LineRow{"operator_negative_number", "x -2.00", true},
                                         LineRow{"total", "= 15.00", true},
                                         LineRow{"sub_total", "= 15.00 sub total", true},
                                         LineRow{"grand_total", "G 1234.50", true},
                                         LineRow{"separator", SEP, true},
                                         LineRow{"reciprocal_type", "1/x 4.00", true},
                                         LineRow{"type_one_after_reciprocal", "1 0.00", true},
                                         LineRow{"no_decimals", "+ 12.", true},
                                         LineRow{"general_form", "+ 0.1234567", true}),
                         RowName());

INSTANTIATE_TEST_SUITE_P(
    Layout, TapeFileLine,
    testing::Values(LineRow{"empty", "", false}, LineRow{"no_blank", "+12.00", false},
                    LineRow{"two_blanks", "+  12.00", false},
                    LineRow{"trailing_blank", "+ 12.00 ", false},
                    LineRow{"hyphen_first", "- 12.00", false},
                    LineRow{"unknown_first", "y 12.00", false},
                    LineRow{"separator_22", std::string(22, '*'), false},
                    LineRow{"separator_24", std::string(24, '*'), false},
                    LineRow{"sub_total_twice", "= 3.00 sub total sub total", false},
                    LineRow{"grand_total_bare", "G", false}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Numbers, TapeFileLine,
    testing::Values(LineRow{"letters", "+ abc", false}, LineRow{"exponent", "+ 1e5", false},
                    LineRow{"two_points", "+ 1.2.3", false},
                    LineRow{"leading_point", "+ .50", false},
                    LineRow{"leading_zero", "+ 012.00", false},
                    LineRow{"negative_zero", "+ -0.00", false},
                    LineRow{"sixteen_significant", "+ 1234567890123456.00", false},
                    LineRow{"seven_trailing_zeros", "+ 1.0000000", false},
                    LineRow{"beyond_double", "+ 1" + std::string(400, '0') + ".00", false},
                    LineRow{"huge_but_written", "+ 1" + std::string(300, '0') + ".00", true}),
    RowName());

INSTANTIATE_TEST_SUITE_P(Bytes, TapeFileLine,
                         testing::Values(LineRow{"nul", std::string("+ 1.00\0", 7), false},
                                         LineRow{"tab", "+\t1.00", false},
                                         LineRow{"lone_cr", "+ 1.00\r", false},
                                         LineRow{"stray_continuation", "+ 1.00\x80", false},
                                         LineRow{"overlong_slash", "\xC0\xAF 1.00", false},
                                         LineRow{"surrogate", "\xED\xA0\x80 1.00", false},
                                         LineRow{"truncated_dash", "\xE2\x80", false}),
                         RowName());

// ---- Whole files ---------------------------------------------------------------

struct FileRow {
    const char* name;
    std::string bytes;
    Lines lines;  // when taken
    int badLine;  // when refused: the line named (0 for the file as a whole)
};

class TapeFileRead : public testing::TestWithParam<FileRow> {};

TEST_P(TapeFileRead, TakesOrNamesTheFirstBadLine) {
    const FileRow& row = GetParam();
    const auto read = ReadTapeFile(row.bytes);
    if (row.badLine < 0) {
        ASSERT_TRUE(std::holds_alternative<Lines>(read)) << Describe(std::get<TapeFileError>(read));
        EXPECT_EQ(std::get<Lines>(read), row.lines);
    } else {
        ASSERT_TRUE(std::holds_alternative<TapeFileError>(read));
        EXPECT_EQ(std::get<TapeFileError>(read).line, row.badLine);
    }
}

std::string Repeat(const std::string& line, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += line;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Files, TapeFileRead,
    testing::Values(
        FileRow{"empty_file", "", {}, -1},
        FileRow{"last_line_without_end", "+ 1.00\n= 1.00", {"+ 1.00", "= 1.00"}, -1},
        FileRow{"bom_and_crlf", "\xEF\xBB\xBF+ 1.00\r\n= 1.00\r\n", {"+ 1.00", "= 1.00"}, -1},
        FileRow{"bom_twice", "\xEF\xBB\xBF\xEF\xBB\xBF+ 1.00\n", {}, 1},
        FileRow{"first_of_two_bad_lines", "+ 1.00\nbad\n+ x\n", {}, 2},
        FileRow{"empty_line_inside", "+ 1.00\n\n= 1.00\n", {}, 2},
        FileRow{"longest_tape", Repeat("+ 1.00\n", 32766), Lines(32766, "+ 1.00"), -1},
        FileRow{"one_line_too_many", Repeat("+ 1.00\n", 32767), {}, 32767},
        FileRow{"bad_line_before_the_limit", "x\n" + Repeat("+ 1.00\n", 32767), {}, 1},
        FileRow{"larger_than_4_mib", std::string(kMaxTapeFileBytes + 1, '*'), {}, 0}),
    RowName());

TEST(TapeFile, SavedTapeReadsBackTheSame) {
    Session s;
    s.keys("12+3-2.5=4{neg}*2=G");
    const Lines tape = s.tape();
    const auto read = ReadTapeFile(WriteTapeFile(tape));
    ASSERT_TRUE(std::holds_alternative<Lines>(read));
    EXPECT_EQ(std::get<Lines>(read), tape);
}

TEST(TapeFile, CsvRowsHoldKindOperatorAmountAndText) {
    const Lines tape = {"+ 12.00",  M + " 2.50", "= 9.50 sub total", "x -2.00",
                        "= -19.00", SEP,         "G -19.00",         "1/x 4.00"};
    EXPECT_EQ(WriteTapeCsv(tape),
              "kind,operator,amount,text\r\n"
              "operator,+,12.00,+ 12.00\r\n"
              "operator,-,2.50," +
                  M +
                  " 2.50\r\n"
                  "sub total,=,9.50,= 9.50 sub total\r\n"
                  "operator,x,-2.00,x -2.00\r\n"
                  "total,=,-19.00,= -19.00\r\n"
                  "separator,,," +
                  SEP +
                  "\r\n"
                  "grand total,G,-19.00,G -19.00\r\n"
                  "changed,1/x,4.00,1/x 4.00\r\n");
}

// ---- Paste -------------------------------------------------------------------------

struct PasteRow {
    const char* name;
    const char* clipboard;
    bool taken;
    const char* keys;
    bool negative;
};

class Paste : public testing::TestWithParam<PasteRow> {};

TEST_P(Paste, TakesOnlyAPlainNumber) {
    const PasteRow& row = GetParam();
    const auto pasted = ReadPastedNumber(row.clipboard);
    ASSERT_EQ(pasted.has_value(), row.taken);
    if (!pasted) return;
    EXPECT_EQ(pasted->keys, row.keys);
    EXPECT_EQ(pasted->negative, row.negative);
}

INSTANTIATE_TEST_SUITE_P(Texts, Paste,
                         testing::Values(PasteRow{"digits", "125", true, "125", false},
                                         PasteRow{"blanks_and_line_end", " \t-7.5\r\n", true, "7.5",
                                                  true},
                                         PasteRow{"leading_plus", "+.25", true, ".25", false},
                                         PasteRow{"trailing_point", "5.", true, "5.", false},
                                         PasteRow{"empty", "", false, "", false},
                                         PasteRow{"blanks_only", "  ", false, "", false},
                                         PasteRow{"sign_only", "-", false, "", false},
                                         PasteRow{"point_only", ".", false, "", false},
                                         PasteRow{"letters", "abc", false, "", false},
                                         PasteRow{"two_points", "1.2.3", false, "", false},
                                         PasteRow{"exponent", "1e5", false, "", false},
                                         PasteRow{"thousands", "1,000", false, "", false},
                                         PasteRow{"inner_blank", "1 000", false, "", false},
                                         PasteRow{"two_signs", "--5", false, "", false},
                                         PasteRow{"minus_character",
                                                  "\xE2\x80\x93"
                                                  "5",
                                                  false, "", false}),
                         RowName());

TEST(Copy, GivesTheDisplayAsANumber) {
    const std::pair<const char*, const char*> rows[] = {
        {".", "0"},         {"-.", "0"},     {"0", "0"},
        {"2.", "2"},        {"-12.", "-12"}, {"12.5", "12.5"},
        {"-0.40", "-0.40"}, {".5", ".5"},    {"123456.000000", "123456.000000"},
    };
    for (const auto& [display, copied] : rows) EXPECT_EQ(CopiedNumber(display), copied) << display;
}

TEST(Paste, FourHundredDigitsAreBeyondTheRange) {
    EXPECT_FALSE(ReadPastedNumber(std::string(400, '9')));
    EXPECT_TRUE(ReadPastedNumber("0." + std::string(400, '9')));
}

TEST(Paste, IsTypingTheNumberInPlaceOfTheOneBeingTyped) {
    Session pasted, typed;
    pasted.keys("12+9");
    ASSERT_TRUE(PasteNumber(pasted.calc, " -7.5 "));
    pasted.checkInvariants("a paste");
    pasted.keys("=");
    typed.keys("12+7.5{neg}=");
    EXPECT_EQ(pasted.tape(), typed.tape());
    EXPECT_EQ(pasted.calc.captions().lblResult, typed.calc.captions().lblResult);
    EXPECT_EQ(pasted.st().dblTotal, typed.st().dblTotal);

    EXPECT_FALSE(PasteNumber(pasted.calc, "1e5"));
    EXPECT_EQ(pasted.tape(), typed.tape());
    EXPECT_EQ(pasted.calc.captions().lblResult, typed.calc.captions().lblResult);
}

// ---- Replacing the tape ------------------------------------------------------------

TEST(ReplaceTape, RecalculatesAsASavedCorrectionDoes) {
    Session s;
    s.keys("7+");
    s.calc.ReplaceTape({"+ 5.00", "+ 3.00", "= 1.00", SEP, "+ 2.00", "= 2.00"});
    s.checkInvariants("replacing the tape");
    EXPECT_EQ(s.tape(), (Lines{"+ 5.00", "+ 3.00", "= 8.00", SEP, "+ 2.00", "= 2.00"}));
    EXPECT_EQ(s.calc.tape().selected(), 5);
    EXPECT_EQ(s.calc.captions().lblResult, "2.00");
    EXPECT_EQ(s.calc.captions().lblGrandTotal, "8.00");
    EXPECT_EQ(s.st().dblGrandTotal, 8);
    EXPECT_EQ(s.st().dblTotal, 2);
}

TEST(ReplaceTape, EmptyTapeClearsAsTheClearKeyDoes) {
    Session s;
    s.keys("5+5==");
    s.calc.ReplaceTape({});
    EXPECT_TRUE(s.tape().empty());
    EXPECT_EQ(s.calc.tape().selected(), -1);
    EXPECT_EQ(s.calc.captions().lblResult, ".");
    EXPECT_EQ(s.calc.captions().lblGrandTotal, "");
}

}  // namespace
}  // namespace tallyroll::test
