#pragma once

#include <optional>
#include <string>

namespace kestrova {

// A rate row's time text: "H:MM" or "H:MM:SS", hours 0-23 (one or two digits), minutes and
// seconds 0-59 (two digits), no blanks, as milliseconds of the day. "24:00" is refused.
std::optional<int> ParseTimeOfDay(const std::string& text);

}  // namespace kestrova
