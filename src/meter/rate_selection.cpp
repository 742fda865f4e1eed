#include "meter/rate_selection.h"

#include <string_view>

#include "base/number_format.h"
#include "rates/rate_time.h"

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

bool TimeApplies(int start, int end, int msOfDay) {
    if (end > start) return msOfDay > start && msOfDay < end;
    // Across midnight (or a window whose end equals its start): from the start to midnight and
    // from midnight to the end.
    return msOfDay > start || msOfDay < end;
}

}  // namespace

RateChoice SelectRate(const std::vector<RateRow>& rows, int weekday, int msOfDay) {
    RateChoice choice;
    int code = kEveryDay;  // set once per call: an unknown day text keeps the previous row's
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RateRow& row = rows[i];
        ReadDayCode(row.day, code);
        if (!DayApplies(code, weekday)) continue;

        const std::optional<int> start = ParseTimeOfDay(row.start);
        const std::optional<int> end = ParseTimeOfDay(row.end);
        const std::optional<double> price = ParseDecimal(row.price);
        if (!start || !end || !price) {
            if (!choice.badRow) choice.badRow = i;
            continue;
        }
        if (TimeApplies(*start, *end, msOfDay)) {
            choice.price = *price;
            return choice;
        }
    }
    return choice;
}

}  // namespace kestrova
