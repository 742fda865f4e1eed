#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "rates/rate_table.h"

namespace kestrova {

struct RateChoice {
    std::optional<double> price;  // the price of the first row that applies
    // The first row whose time or price text cannot be read, among the rows read: those up to
    // the chosen one whose day is today or yesterday.
    std::optional<std::size_t> badRow;
};

// The first row whose day selector covers `weekday` (1 = Sunday ... 7 = Saturday) and whose
// time window covers `msOfDay` (both bounds strict). A row whose end is not later than its
// start covers the night that begins on its day: a Friday row 22:00 to 07:00 applies from
// Friday 22:00 to Saturday 07:00, and a weekend one from Saturday and Sunday evenings into the
// next mornings (a row whose end equals its start covers the 24 hours from its start but that
// instant). A day text outside the ten keeps the code of the row before it (every day for the
// first row). A row that is read, one whose day is today or yesterday, but whose time or price
// cannot be read is skipped.
RateChoice SelectRate(const std::vector<RateRow>& rows, int weekday, int msOfDay);

// "H:MM" or "H:MM:SS", hours 0-23 (one or two digits), minutes and seconds 0-59 (two digits),
// no blanks, as milliseconds of the day. "24:00" is refused.
std::optional<int> ParseTimeOfDay(const std::string& text);

}  // namespace kestrova
