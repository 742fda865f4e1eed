#pragma once

namespace kestrova {

// A local calendar moment, as the meter sees it.
struct LocalDateTime {
    int year = 2000;
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int weekday = 7;  // 1 = Sunday ... 7 = Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    int MillisecondOfDay() const {
        return ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
    }
};

}  // namespace kestrova
