#include <gtest/gtest.h>

#include <clocale>

#include "base/number_format.h"

namespace kestrova {
namespace {

TEST(NumberFormat, FixedRoundsHalfAwayFromZero) {
    EXPECT_EQ(FormatFixed(1.005, 2, '.'), "1.01");
    EXPECT_EQ(FormatFixed(0.125, 2, ','), "0,13");
    EXPECT_EQ(FormatFixed(-2.5, 0, '.'), "-3");
    EXPECT_EQ(FormatFixed(-0.001, 2, '.'), "0.00");
    EXPECT_EQ(FormatFixed(123456.789, 2, ','), "123456,79");
}

TEST(NumberFormat, ShortestReadsBack) {
    EXPECT_EQ(FormatShortest(0, ','), "0");
    EXPECT_EQ(FormatShortest(12.5, ','), "12,5");
    EXPECT_EQ(FormatShortest(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(FormatShortest(1234567.25, '.'), "1234567.25");
    EXPECT_EQ(*ParseDecimal(FormatShortest(98765.4321, ',')), 98765.4321);
}

TEST(NumberFormat, ParseDecimalTakesEitherSeparator) {
    EXPECT_EQ(ParseDecimal("2.5"), 2.5);
    EXPECT_EQ(ParseDecimal("2,5"), 2.5);
    EXPECT_EQ(ParseDecimal(" -0,75 "), -0.75);
    EXPECT_EQ(ParseDecimal("90"), 90.0);
    for (const char* bad : {"", "abc", "1.2.3", "1,2,3", "1e5", "--1", "1 000", ".", "-", "0x10"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
}

TEST(NumberFormat, TheCLocaleNeverMatters) {
    // A Qt application switches the C library to the user's locale; texts must not change.
    const char* russian = std::setlocale(LC_ALL, "ru_RU.UTF-8");
    if (russian == nullptr) std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatFixed(2.5, 2, '.'), "2.50");
    EXPECT_EQ(ParseDecimal("2.5"), 2.5);
    EXPECT_EQ(FormatShortest(2.5, '.'), "2.5");
    std::setlocale(LC_ALL, "C");
}

TEST(NumberFormat, MoneyFieldTextIsEmptyForZero) {
    EXPECT_EQ(MoneyFieldText(0, ','), "");
    EXPECT_EQ(MoneyFieldText(0.004, ','), "");
    EXPECT_EQ(MoneyFieldText(0.005, ','), "0,01");
    EXPECT_EQ(MoneyFieldText(1234.5, ','), "1234,50");
    EXPECT_EQ(MoneyFieldText(-3, '.'), "-3.00");
}

}  // namespace
}  // namespace kestrova
