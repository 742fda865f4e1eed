#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// A byte count as "1.50 КБ": Байт below 1 KiB, then КБ, МБ, ГБ (3 decimals), with
// `separator` as the decimal point.
std::string FormatSize(std::uint64_t bytes, char separator);

// Seconds as hh:mm:ss; hours are not wrapped and may have three or more digits.
std::string FormatDuration(std::uint32_t seconds);

// "m-yyyy": the month number without a leading zero, the four-digit year.
std::string MonthKeyOf(int year, int month);

}  // namespace kestrova
