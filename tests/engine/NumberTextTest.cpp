#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/NumberText.h"
#include "tape/Recalculate.h"
#include "tests/support/Harness.h"

namespace tallyroll {
namespace {
using test::PrintTo;
using test::RowName;

struct FormatRow {
    const char* name;
    double value;
    int decimals;  // -1: the general form
    const char* expected;
};

const FormatRow kFormatRows[] = {
    {"half_up_no_decimals", 2.5, 0, "3."},
    {"half_on_15_digit_form", 1.005, 2, "1.01"},
    {"negative_half_away_from_zero", -2.5, 0, "-3."},
    {"large_never_exponent", 1e20, 2, "100000000000000000000.00"},
    {"leading_zero_kept", 0.5, 2, "0.50"},
    {"point_always_present", 5, 0, "5."},
    {"padded_decimals", 3.1, 2, "3.10"},
    {"half_rounds_to_one", 0.5, 0, "1."},
    {"negative_quarter", -0.25, 1, "-0.3"},
    {"negative_rounding_to_zero_has_no_sign", -0.001, 2, "0.00"},
    {"six_decimals", 7, 6, "7.000000"},
    {"tiny_is_zero", 1e-300, 2, "0.00"},
    {"carry_adds_a_digit", 999.995, 2, "1000.00"},
    {"zero", 0, 2, "0.00"},
    {"negative_zero", -0.0, 2, "0.00"},
    {"sixteenth_digit_ignored", 0.1 + 0.2, 2, "0.30"},
    {"fifteen_digits_then_zeros", 123456789012345678.0, 0, "123456789012346000."},
    {"general_half", 12.5, -1, "12.5"},
    {"general_whole", 7, -1, "7"},
    {"general_negative_fraction", -0.25, -1, "-0.25"},
    {"general_large_no_exponent", 1e20, -1, "100000000000000000000"},
    {"general_third", 1.0 / 3, -1, "0.333333333333333"},
    {"general_zero", 0, -1, "0"},
    {"general_small_no_exponent", 1e-7, -1, "0.0000001"},
};

class FormatNumberTest : public testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumberTest, WritesThePattern) {
    const FormatRow& row = GetParam();
    const std::string pattern = row.decimals < 0 ? "" : PatternFor(row.decimals);
    EXPECT_EQ(FormatNumber(row.value, pattern), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatNumberTest, testing::ValuesIn(kFormatRows), RowName());

TEST(FormatNumber, LargestDoubleHasAllItsWholeDigits) {
    const std::string text = FormatNumber(std::numeric_limits<double>::max(), "#0.");
    EXPECT_EQ(text.size(), 310u);  // 309 digits and the point
    EXPECT_EQ(text.substr(0, 15), "179769313486232");
    EXPECT_EQ(text.find_first_not_of("0123456789."), std::string::npos);
}

TEST(PatternFor, NamesEveryDecimalCount) {
    EXPECT_EQ(PatternFor(0), "#0.");
    EXPECT_EQ(PatternFor(2), "#0.00");
    EXPECT_EQ(PatternFor(6), "#0.000000");
    for (int n = 0; n <= 6; ++n) EXPECT_EQ(PatternDecimals(PatternFor(n)), n);
    EXPECT_EQ(PatternDecimals(""), -1);
}

struct ReadRow {
    const char* name;
    const char* text;
    double expected;
};

const ReadRow kReadRows[] = {
    {"trailing_point", "12.", 12},
    {"leading_zero", "05.", 5},
    {"negative", "-5.", -5},
    {"no_whole_digit", ".5", 0.5},
    {"empty_display", ".", 0},
    {"empty_negative_display", "-.", 0},
    {"empty_text", "", 0},
    {"clear_entry_zero", "0", 0},
    {"leading_blanks", "  7", 7},
    {"blank_between_digits", "1 000", 1000},
    {"exponent", "1e3", 1000},
    {"d_exponent", "1D2", 100},
    {"letters_only", "abc", 0},
    {"stops_at_letter", "12abc", 12},
    {"plus_sign", "+3", 3},
    {"second_point_stops", "1.2.3", 1.2},
    {"blank_after_sign", "- 5", -5},
    {"exponent_without_digits", "1e", 1},
    {"tab_and_line_feed", "\t\n4", 4},
    {"two_signs", "+-5", 0},
    {"negative_exponent", "25e-1", 2.5},
    {"underflow_reads_zero", "1e-400", 0},
};

class ReadNumberTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ReadNumberTest, ReadsTheLeadingNumber) {
    const ReadResult r = ReadNumber(GetParam().text);
    EXPECT_FALSE(r.overflow);
    EXPECT_DOUBLE_EQ(r.value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadNumberTest, testing::ValuesIn(kReadRows), RowName());

TEST(ReadNumber, ReportsNumbersBeyondTheDoubleRange) {
    for (const std::string& text : {std::string("1e400"), std::string(400, '9') + ".",
                                    std::string("-") + std::string(320, '1')}) {
        const ReadResult r = ReadNumber(text);
        EXPECT_TRUE(r.overflow) << text;
        EXPECT_EQ(r.value, 0) << text;
    }
    EXPECT_FALSE(ReadNumber("0." + std::string(400, '0') + "1").overflow);
}

TEST(StrictNumber, AcceptsExactlyWhatTheFormatWrites) {
    struct Row {
        const char* text;
        std::optional<double> expected;
    };
    const Row rows[] = {
        {"12.00", 12},    {"-5.00", -5}, {" 3.5 ", 3.5},
        {"5.", 5},        {"7", 7},      {"", {}},
        {"abc", {}},      {"1e5", {}},   {"12.00 sub total", {}},
        {"--5", {}},      {"+5", {}},    {".5", {}},
        {"1,000.00", {}}, {"-", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StrictNumber(row.text), row.expected) << '"' << row.text << '"';
}

TEST(Currency, ConvertsWithinRangeOnly) {
    EXPECT_EQ(CurrencyFromDouble(12.5), 125000);
    EXPECT_EQ(CurrencyFromDouble(-3.25), -32500);
    EXPECT_EQ(CurrencyFromDouble(9.2e14), 9200000000000000000);
    EXPECT_EQ(CurrencyFromDouble(9.3e14), std::nullopt);
    EXPECT_EQ(CurrencyFromDouble(-9.3e14), std::nullopt);
    EXPECT_EQ(CurrencyFromDouble(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_DOUBLE_EQ(CurrencyToDouble(125000), 12.5);
    EXPECT_EQ(CurrencyFromDouble(0.12344), 1234);
    EXPECT_EQ(CurrencyFromDouble(0.12346), 1235);
}

}  // namespace
}  // namespace tallyroll
