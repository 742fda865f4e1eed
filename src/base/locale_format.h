#pragma once

#include <functional>
#include <string>

#include "base/local_date_time.h"

namespace kestrova {

// What the user's locale decides about the texts the meter writes. The program fills the date
// and time notations from the system locale; the defaults are the Russian ones.
struct LocaleFormat {
    char decimalSeparator = '.';
    std::function<std::string(const LocalDateTime&)> shortDate;  // default dd.MM.yyyy
    std::function<std::string(const LocalDateTime&)> longTime;   // default HH:mm:ss
};

std::string FormatShortDate(const LocaleFormat& locale, const LocalDateTime& moment);
std::string FormatLongTime(const LocaleFormat& locale, const LocalDateTime& moment);

}  // namespace kestrova
