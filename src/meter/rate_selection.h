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
    // the chosen one whose day applies.
    std::optional<std::size_t> badRow;
};

// The first row whose day selector covers `weekday` (1 = Sunday ... 7 = Saturday) and whose
// time window covers `msOfDay` (both bounds strict). A row whose end is not later than its
// start runs across midnight: 22:00 to 07:00 applies at 23:00 and at 03:00 (a row whose end
// equals its start therefore applies all day but at that instant). A day text outside the ten
// keeps the code of the row before it (every day for the first row). A row whose day applies
// but whose time or price cannot be read is skipped.
RateChoice SelectRate(const std::vector<RateRow>& rows, int weekday, int msOfDay);

}  // namespace kestrova
