#include "rates/rate_time.h"

#include <string_view>

namespace kestrova {

namespace {

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

}  // namespace kestrova
