#include "rates/rate_selection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kWednesday = 4;
constexpr int kFriday = 6;
constexpr int kSaturday = 7;

constexpr int At(int hours, int minutes, int seconds = 0, int ms = 0) {
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + ms;
}

RateRow Row(std::string start, std::string end, std::string price, std::string day) {
    return RateRow{"", std::move(start), std::move(end), std::move(price), std::move(day)};
}

const std::vector<RateRow> kWeekdayThenEveryDay = {
    Row("08:00", "20:00", "2", "Будние дни"),
    Row("00:00", "23:59", "1", "Все дни"),
};
const std::vector<RateRow> kNight = {Row("22:00", "07:00", "0,5", "Все дни")};
const std::vector<RateRow> kToMidnight = {Row("22:00", "00:00", "3", "Все дни")};
const std::vector<RateRow> kDaytime = {Row("8:00", "20:00", "2", "Все дни")};
const std::vector<RateRow> kWholeDay = {Row("0:00", "23:59", "1.5", "Все дни")};
const std::vector<RateRow> kWithSeconds = {Row("8:00:30", "20:00", "2", "Все дни")};
// An unknown day text keeps the code of the row before; for the first row that is every day.
const std::vector<RateRow> kUnknownDayAfterSaturday = {
    Row("08:00", "20:00", "5", "Суббота"),
    Row("20:00", "23:00", "6", "все дни"),
};
const std::vector<RateRow> kUnknownDayFirst = {Row("08:00", "20:00", "3", "")};

struct SelectionCase {
    const char* name;
    const std::vector<RateRow>* rows;
    int weekday;
    int msOfDay;
    std::optional<double> price;
};

const SelectionCase kSelectionCases[] = {
    {"weekday row wins on Wednesday", &kWeekdayThenEveryDay, kWednesday, At(10, 0), 2},
    {"every-day row on Saturday", &kWeekdayThenEveryDay, kSaturday, At(10, 0), 1},
    {"every-day row after the weekday window", &kWeekdayThenEveryDay, kWednesday, At(21, 0), 1},
    {"night row before midnight", &kNight, kMonday, At(23, 0), 0.5},
    {"night row after midnight", &kNight, kMonday, At(3, 0), 0.5},
    {"night row not at noon", &kNight, kMonday, At(12, 0), std::nullopt},
    {"night row not at its end", &kNight, kMonday, At(7, 0), std::nullopt},
    {"night row just before its end", &kNight, kMonday, At(6, 59, 59, 999), 0.5},
    {"to midnight: not at the start", &kToMidnight, kFriday, At(22, 0), std::nullopt},
    {"to midnight: just after the start", &kToMidnight, kFriday, At(22, 0, 0, 1), 3},
    {"to midnight: last millisecond", &kToMidnight, kFriday, At(23, 59, 59, 999), 3},
    {"to midnight: not at midnight", &kToMidnight, kFriday, At(0, 0), std::nullopt},
    {"to midnight: not in the morning", &kToMidnight, kFriday, At(9, 0), std::nullopt},
    {"exactly the start", &kDaytime, kSunday, At(8, 0), std::nullopt},
    {"one ms after the start", &kDaytime, kSunday, At(8, 0, 0, 1), 2},
    {"one ms before the end", &kDaytime, kSunday, At(19, 59, 59, 999), 2},
    {"exactly the end", &kDaytime, kSunday, At(20, 0), std::nullopt},
    {"before 23:59", &kWholeDay, kSunday, At(23, 58, 59, 999), 1.5},
    {"at 23:59", &kWholeDay, kSunday, At(23, 59), std::nullopt},
    {"between 23:59 and midnight", &kWholeDay, kSunday, At(23, 59, 30), std::nullopt},
    {"start with seconds, at it", &kWithSeconds, kSunday, At(8, 0, 30), std::nullopt},
    {"start with seconds, after it", &kWithSeconds, kSunday, At(8, 0, 30, 1), 2},
    {"unknown day keeps Saturday: Saturday", &kUnknownDayAfterSaturday, kSaturday, At(21, 0), 6},
    {"unknown day keeps Saturday: Wednesday", &kUnknownDayAfterSaturday, kWednesday, At(21, 0),
     std::nullopt},
    {"unknown first day means every day", &kUnknownDayFirst, kWednesday, At(10, 0), 3},
};

TEST(SelectRate, Cases) {
    for (const SelectionCase& c : kSelectionCases) {
        const RateChoice choice = SelectRate(*c.rows, c.weekday, c.msOfDay);
        EXPECT_EQ(choice.price, c.price) << c.name;
        EXPECT_FALSE(choice.badRow) << c.name;
    }
}

// A night row covers the night that begins on its day: a Friday row reaches into Saturday
// morning, a weekend row into Sunday and Monday mornings; never the morning of its own day.
TEST(SelectRate, NightRowsCoverTheNightThatBeginsOnTheirDay) {
    struct NightCase {
        const char* day;
        // For Sunday ... Saturday, the hours of 23:00, 03:00 and 08:00 at which the row applies.
        const char* expected[7];
    };
    const NightCase cases[] = {
        {"Пятница", {"", "", "", "", "", "23", "03"}},
        {"Выходные дни", {"23 03", "03", "", "", "", "", "23"}},
        {"Будние дни", {"", "23", "23 03", "23 03", "23 03", "23 03", "03"}},
        {"Все дни", {"23 03", "23 03", "23 03", "23 03", "23 03", "23 03", "23 03"}},
    };
    for (const NightCase& c : cases) {
        const std::vector<RateRow> rows = {Row("22:00", "07:00", "5", c.day)};
        for (int weekday = 1; weekday <= 7; ++weekday) {
            std::string covered;
            for (const int hour : {23, 3, 8}) {
                if (!SelectRate(rows, weekday, At(hour, 0)).price) continue;
                if (!covered.empty()) covered += ' ';
                covered += hour == 3 ? "03" : std::to_string(hour);
            }
            EXPECT_EQ(covered, c.expected[weekday - 1]) << c.day << ", weekday " << weekday;
        }
    }
}

// The bounds stay strict on both days, and a row below still takes what the night row leaves.
TEST(SelectRate, NightRowBoundsAcrossTheDayChange) {
    const std::vector<RateRow> rows = {
        Row("22:00", "07:00", "5", "Пятница"),
        Row("00:00", "23:59", "1", "Все дни"),
    };
    const std::pair<int, int> fiveAt[] = {
        {kFriday, At(22, 0, 0, 1)},
        {kFriday, At(23, 59, 59, 999)},
        {kSaturday, At(0, 0)},
        {kSaturday, At(6, 59, 59, 999)},
    };
    for (const auto& [day, ms] : fiveAt) EXPECT_EQ(SelectRate(rows, day, ms).price, 5) << ms;
    const std::pair<int, int> oneAt[] = {
        {kFriday, At(22, 0)},   // exactly the start
        {kFriday, At(3, 0)},    // Friday's own morning belongs to Thursday's night
        {kSaturday, At(7, 0)},  // exactly the end
        {kSaturday, At(23, 0)},
    };
    for (const auto& [day, ms] : oneAt) EXPECT_EQ(SelectRate(rows, day, ms).price, 1) << ms;
}

TEST(SelectRate, EmptyTableChoosesNothing) {
    const RateChoice choice = SelectRate({}, kWednesday, At(10, 0));
    EXPECT_FALSE(choice.price);
    EXPECT_FALSE(choice.badRow);
}

TEST(SelectRate, DaySelectorsCoverTheirWeekdays) {
    // Weekdays each selector covers, as a string of weekday numbers (1 = Sunday).
    const std::pair<const char*, std::string> selectors[] = {
        {"Воскресенье", "1"},   {"Понедельник", "2"},   {"Вторник", "3"}, {"Среда", "4"},
        {"Четверг", "5"},       {"Пятница", "6"},       {"Суббота", "7"}, {"Будние дни", "23456"},
        {"Выходные дни", "17"}, {"Все дни", "1234567"},
    };
    for (const auto& [day, expected] : selectors) {
        const std::vector<RateRow> rows = {Row("0:00", "23:59", "1", day)};
        std::string covered;
        for (int weekday = 1; weekday <= 7; ++weekday)
            if (SelectRate(rows, weekday, At(12, 0)).price) covered += char('0' + weekday);
        EXPECT_EQ(covered, expected) << day;
    }
}

TEST(SelectRate, PriceTakesEitherDecimalSeparator) {
    EXPECT_EQ(SelectRate({Row("0:00", "23:59", "0,25", "Все дни")}, kMonday, At(1, 0)).price, 0.25);
    EXPECT_EQ(SelectRate({Row("0:00", "23:59", "0.25", "Все дни")}, kMonday, At(1, 0)).price, 0.25);
}

TEST(SelectRate, UnreadableRowsAreSkippedAndTheFirstIsReported) {
    const std::vector<RateRow> rows = {
        Row("08:00", "20:00", "2", "Суббота"),  // day does not apply: not read
        Row("abc", "20:00", "9", "Все дни"),    // bad start
        Row("08:00", "24:00", "9", "Все дни"),  // bad end
        Row("08:00", "20:00", "", "Все дни"),   // bad price
        Row("00:00", "23:59", "1,5", "Все дни"),
    };
    const RateChoice choice = SelectRate(rows, kWednesday, At(10, 0));
    EXPECT_EQ(choice.price, 1.5);
    EXPECT_EQ(choice.badRow, 1u);

    const RateChoice none = SelectRate({Row("08:00", "20:00", "x", "Все дни")}, kMonday, At(3, 0));
    EXPECT_FALSE(none.price);
    EXPECT_EQ(none.badRow, 0u);  // reported although its time would not have applied either
}

TEST(ParseTimeOfDay, AcceptedTexts) {
    const std::pair<const char*, int> cases[] = {
        {"8:00", At(8, 0)},
        {"08:00", At(8, 0)},
        {"0:00", 0},
        {"00:00", 0},
        {"23:59", At(23, 59)},
        {"23:59:59", At(23, 59, 59)},
        {"8:00:30", At(8, 0, 30)},
        {"12:34:56", At(12, 34, 56)},
    };
    for (const auto& [text, ms] : cases) EXPECT_EQ(ParseTimeOfDay(text), ms) << text;
}

TEST(ParseTimeOfDay, RefusedTexts) {
    const char* const cases[] = {
        "",       "8",      "24:00",      "23:60",      "8:00:60", "8:0",   "8:000",
        "123:00", ":00",    " 8:00",      "8:00 ",      "8.00",    "-1:00", "+8:00",
        "8:00:",  "8:00:3", "8:00:30:00", "8:00:00:00", "8:-1",    "a:00",  "8:00\r",
    };
    for (const char* text : cases) EXPECT_EQ(ParseTimeOfDay(text), std::nullopt) << text;
}

}  // namespace
}  // namespace kestrova
