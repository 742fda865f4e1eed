#include "platform/system_clock.h"

#include <ctime>

namespace kestrova {

LocalDateTime SystemClock::Now() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);

    LocalDateTime result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.weekday = local.tm_wday + 1;  // tm_wday 0 is Sunday
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    // A leap second (tm_sec 60) is shown as the last second of its minute.
    result.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    result.millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    return result;
}

}  // namespace kestrova
