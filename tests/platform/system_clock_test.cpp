#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

namespace kestrova {
namespace {

// Sets the time zone for one test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = ::getenv("TZ")) old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

TEST(SystemClock, GivesLocalTimeWithSundayAsDayOne) {
    // UTC+5:45 with no daylight saving: an offset that shows at once whether local time is used.
    TimeZone zone("KVT-5:45");
    constexpr long kOffset = (5 * 60 + 45) * 60;
    const SystemClock clock;

    // time() may run on a coarser clock than the one read: bracket with the same clock.
    const auto seconds = [] {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return now.tv_sec;
    };
    LocalDateTime now;
    time_t before = 0;
    time_t after = 1;
    for (int attempt = 0; attempt < 5 && before != after; ++attempt) {
        before = seconds();
        now = clock.Now();
        after = seconds();
    }
    ASSERT_EQ(before, after) << "the second kept changing during the reading";

    const long local = static_cast<long>(before) + kOffset;
    const long days = local / 86400;
    const long secondOfDay = local % 86400;
    EXPECT_EQ(DaysFromCivil(now.year, now.month, now.day), days);
    EXPECT_EQ(now.hour, secondOfDay / 3600);
    EXPECT_EQ(now.minute, secondOfDay / 60 % 60);
    EXPECT_EQ(now.second, secondOfDay % 60);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    // 1970-01-01 was a Thursday: day 5 when Sunday is 1.
    EXPECT_EQ(now.weekday, (days + 4) % 7 + 1);
}

}  // namespace
}  // namespace kestrova
