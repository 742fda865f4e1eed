#include "base/money_pattern.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

const NumberSeparators kRussian{",", " "};
const NumberSeparators kEnglish{".", ","};

struct PatternCase {
    const char* pattern;
    double value;
    const char* expected;
};

class PatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternTest, WritesTheValueThroughThePattern) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatWithPattern(c.pattern, c.value, kRussian), c.expected)
        << "pattern " << c.pattern << ", value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    MoneyPatterns, PatternTest,
    ::testing::Values(
        // The cost formats.
        PatternCase{",0.00р'.';-,0.00р'.'", 1234.5, "1 234,50р."},
        PatternCase{",0.00$'.';-,0.00$'.'", 1234.5, "1 234,50$."},
        PatternCase{",0.00€'.';-,0.00€'.'", 1234.5, "1 234,50€."},
        // Unquoted points after the decimal point are dropped, quoted ones stay.
        PatternCase{",0.00едн.'.';-,0.00едн.'.'", 1234.5, "1 234,50едн."},
        PatternCase{",0.00у.е.'.';-,0.00у.е.'.'", 1234.5, "1 234,50уе."},
        // The negative part carries its own sign.
        PatternCase{",0.00р'.';-,0.00р'.'", -1234.5, "-1 234,50р."},
        PatternCase{",0.00у.е.'.';-,0.00у.е.'.'", -0.5, "-0,50уе."},
        // Zero and small values; a value that rounds to zero has no sign.
        PatternCase{",0.00р'.';-,0.00р'.'", 0.0, "0,00р."},
        PatternCase{",0.00р'.';-,0.00р'.'", 0.004, "0,00р."},
        PatternCase{",0.00р'.';-,0.00р'.'", -0.004, "0,00р."},
        PatternCase{",0.00р'.';-,0.00р'.'", 0.005, "0,01р."},
        // Grouping across several thousands, and below a thousand.
        PatternCase{",0.00р'.';-,0.00р'.'", 1234567.891, "1 234 567,89р."},
        PatternCase{",0.00р'.';-,0.00р'.'", 999.999, "1 000,00р."},
        PatternCase{",0.00р'.';-,0.00р'.'", 12.3, "12,30р."},
        // The initial pattern: optional decimals, no trailing separator.
        PatternCase{",0.##", 1234.5, "1 234,5"}, PatternCase{",0.##", 1234.0, "1 234"},
        PatternCase{",0.##", 0.0, "0"}, PatternCase{",0.##", 0.126, "0,13"},
        PatternCase{",0.##", -1234.5, "-1 234,5"},
        // Without "," no grouping; "#" integer places vanish, "0" places pad.
        PatternCase{"0.00", 1234.5, "1234,50"}, PatternCase{"#.##", 0.5, ",5"},
        PatternCase{"000.0", 7.25, "007,3"}, PatternCase{"0", 2.5, "3"},
        // Double quotes quote too, and a zero part is used for zero.
        PatternCase{"0.00\" руб.\";(0.00);\"ноль\"", 3.0, "3,00 руб."},
        PatternCase{"0.00\" руб.\";(0.00);\"ноль\"", -3.0, "(3,00)"},
        PatternCase{"0.00\" руб.\";(0.00);\"ноль\"", 0.0, "ноль"},
        // A quoted ";" does not split the pattern.
        PatternCase{"0'; '0", 12.0, "1; 2"}));

TEST(PatternSeparators, ComeFromTheCaller) {
    EXPECT_EQ(FormatWithPattern(",0.00р'.';-,0.00р'.'", 1234.5, kEnglish), "1,234.50р.");
    EXPECT_EQ(FormatWithPattern(",0.00", 1234.5, NumberSeparators{",", "\u00a0"}), "1\u00a0234,50");
}

TEST(PatternEmpty, WritesTheShortestForm) {
    EXPECT_EQ(FormatWithPattern("", 12.25, kRussian), "12,25");
    EXPECT_EQ(FormatWithPattern("", 3.0, kRussian), "3");
}

TEST(CostFormatTable, GivesPatternAndUnitForZeroToFour) {
    const std::pair<int, const char*> units[] = {
        {0, "р."}, {1, "$."}, {2, "€."}, {3, "едн."}, {4, "у.е."}};
    for (const auto& [number, unit] : units) {
        const std::optional<MoneyFormat> format = CostFormatEntry(number);
        ASSERT_TRUE(format) << number;
        EXPECT_EQ(format->unit, unit);
    }
    EXPECT_EQ(CostFormatEntry(4)->pattern, ",0.00у.е.'.';-,0.00у.е.'.'");
    EXPECT_FALSE(CostFormatEntry(-1));
    EXPECT_FALSE(CostFormatEntry(5));
    EXPECT_STREQ(kInitialMoneyPattern, ",0.##");
    EXPECT_STREQ(kInitialMoneyUnit, "р.");
}

}  // namespace
}  // namespace kestrova
