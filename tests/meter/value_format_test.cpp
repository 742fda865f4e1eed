#include <gtest/gtest.h>

#include "meter/value_format.h"

namespace kestrova {
namespace {

TEST(FormatSize, UnitsAndDecimals) {
    const struct {
        std::uint64_t bytes;
        const char* point;
        const char* comma;
    } cases[] = {
        {0, "0.00 Байт", "0,00 Байт"},
        {1023, "1023.00 Байт", "1023,00 Байт"},
        {1024, "1.00 КБ", "1,00 КБ"},
        {1536, "1.50 КБ", "1,50 КБ"},
        {1048575, "1024.00 КБ", "1024,00 КБ"},
        {1048576, "1.00 МБ", "1,00 МБ"},
        {1073741824, "1.000 ГБ", "1,000 ГБ"},
        {2147483647, "2.000 ГБ", "2,000 ГБ"},
        // Past the 32-bit range: no negative sizes, no wrap.
        {2147483648ull, "2.000 ГБ", "2,000 ГБ"},
        {5368709120ull, "5.000 ГБ", "5,000 ГБ"},
        {10995116277760ull, "10240.000 ГБ", "10240,000 ГБ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSize(c.bytes, '.'), c.point) << c.bytes;
        EXPECT_EQ(FormatSize(c.bytes, ','), c.comma) << c.bytes;
    }
}

TEST(FormatDuration, HoursAreNotWrapped) {
    const struct {
        std::uint32_t seconds;
        const char* text;
    } cases[] = {{0, "00:00:00"},     {59, "00:00:59"},      {3600, "01:00:00"},
                 {86399, "23:59:59"}, {360000, "100:00:00"}, {3599999, "999:59:59"}};
    for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(MonthKey, MonthWithoutLeadingZero) {
    EXPECT_EQ(MonthKeyOf(2007, 3), "3-2007");
    EXPECT_EQ(MonthKeyOf(2007, 11), "11-2007");
}

}  // namespace
}  // namespace kestrova
