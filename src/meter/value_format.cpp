#include "meter/value_format.h"

#include "base/number_format.h"

namespace kestrova {

std::string FormatSize(std::uint64_t bytes, char separator) {
    constexpr std::uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
    const double n = static_cast<double>(bytes);
    if (bytes < kKiB) return FormatFixed(n, 2, separator) + " Байт";
    if (bytes >= kGiB) return FormatFixed(n / static_cast<double>(kGiB), 3, separator) + " ГБ";
    if (bytes >= kMiB) return FormatFixed(n / static_cast<double>(kMiB), 2, separator) + " МБ";
    return FormatFixed(n / static_cast<double>(kKiB), 2, separator) + " КБ";
}

namespace {
std::string TwoDigits(std::uint32_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}
}  // namespace

std::string FormatDuration(std::uint32_t seconds) {
    const std::uint32_t hours = seconds / 3600;
    const std::uint32_t minutes = seconds / 60 - hours * 60;
    const std::uint32_t rest = seconds - hours * 3600 - minutes * 60;
    return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
}

std::string MonthKeyOf(int year, int month) {
    std::string y = std::to_string(year);
    while (y.size() < 4) y = "0" + y;
    return std::to_string(month) + "-" + y;
}

}  // namespace kestrova
