#include "rates/rate_selection.h"

#include <string_view>

#include "meter/number_format.h"

namespace kestrova {

namespace {

constexpr int kEveryDay = 0;
constexpr int kWeekdays = 8;
constexpr int kWeekend = 9;

struct DaySelector {
    std::string_view text;
    int code;
};

// Single days carry the weekday number they stand for (1 = Sunday ... 7 = Saturday).
constexpr DaySelector kDayCodes[] = {{"Воскресенье", 1},
                                     {"Понедельник", 2},
                                     {"Вторник", 3},
                                     {"Среда", 4},
                                     {"Четверг", 5},
                                     {"Пятница", 6},
                                     {"Суббота", 7},
                                     {"Будние дни", kWeekdays},
                                     {"Выходные дни", kWeekend},
                                     {"Все дни", kEveryDay}};

// Updates `code` when `text` is one of the selector texts; any other text leaves the code the
// previous row set.
void ReadDayCode(const std::string& text, int& code) {
    for (const DaySelector& selector : kDayCodes) {
        if (text == selector.text) {
            code = selector.code;
            return;
        }
    }
}

bool DayApplies(int code, int weekday) {
    if (code == kEveryDay) return true;
    if (code == kWeekdays) return weekday >= 2 && weekday <= 6;
    if (code == kWeekend) return weekday == 1 || weekday == 7;
    return code == weekday;
}

// The weekday before `weekday` (1 = Sunday ... 7 = Saturday).
int DayBefore(int weekday) {
    return weekday == 1 ? 7 : weekday - 1;
}

// A row whose end is later than its start covers that window of its own days. A night row
// (end not later than start) covers the night that begins on its day: from the start to
// midnight of its day and from midnight to the end on the day after.
bool RowApplies(int code, int start, int end, int weekday, int msOfDay) {
    if (end > start) return DayApplies(code, weekday) && msOfDay > start && msOfDay < end;
    return (DayApplies(code, weekday) && msOfDay > start) ||
           (DayApplies(code, DayBefore(weekday)) && msOfDay < end);
}

// Exactly `count` decimal digits of `text` from `pos` on, or -1.
int ReadDigits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) return -1;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<int> ParseTimeOfDay(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2) return std::nullopt;
    const int hours = ReadDigits(text, 0, colon);
    const int minutes = ReadDigits(text, colon + 1, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return std::nullopt;

    int seconds = 0;
    const std::size_t afterMinutes = colon + 3;
    if (text.size() != afterMinutes) {
        if (text.size() != afterMinutes + 3 || text[afterMinutes] != ':') return std::nullopt;
        seconds = ReadDigits(text, afterMinutes + 1, 2);
        if (seconds < 0 || seconds > 59) return std::nullopt;
    }
    return ((hours * 60 + minutes) * 60 + seconds) * 1000;
}

RateChoice SelectRate(const std::vector<RateRow>& rows, int weekday, int msOfDay) {
    RateChoice choice;
    int code = kEveryDay;  // set once per call: an unknown day text keeps the previous row's
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RateRow& row = rows[i];
        ReadDayCode(row.day, code);
        // Today's rows, and yesterday's in case one is a night row reaching into today.
        if (!DayApplies(code, weekday) && !DayApplies(code, DayBefore(weekday))) continue;

        const std::optional<int> start = ParseTimeOfDay(row.start);
        const std::optional<int> end = ParseTimeOfDay(row.end);
        const std::optional<double> price = ParseDecimal(row.price);
        if (!start || !end || !price) {
            if (!choice.badRow) choice.badRow = i;
            continue;
        }
        if (RowApplies(code, *start, *end, weekday, msOfDay)) {
            choice.price = *price;
            return choice;
        }
    }
    return choice;
}

}  // namespace kestrova
