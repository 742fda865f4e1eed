#include "base/locale_format.h"

namespace kestrova {

namespace {
std::string Pad(int value, std::size_t width) {
    std::string text = std::to_string(value);
    while (text.size() < width) text = "0" + text;
    return text;
}
}  // namespace

std::string FormatShortDate(const LocaleFormat& locale, const LocalDateTime& m) {
    if (locale.shortDate) return locale.shortDate(m);
    return Pad(m.day, 2) + "." + Pad(m.month, 2) + "." + Pad(m.year, 4);
}

std::string FormatLongTime(const LocaleFormat& locale, const LocalDateTime& m) {
    if (locale.longTime) return locale.longTime(m);
    return Pad(m.hour, 2) + ":" + Pad(m.minute, 2) + ":" + Pad(m.second, 2);
}

}  // namespace kestrova
