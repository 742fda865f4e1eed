#pragma once

#include "meter/clock.h"

namespace kestrova {

// The machine's local time (its time zone and daylight-saving rules), to the millisecond.
class SystemClock : public Clock {
public:
    LocalDateTime Now() const override;
};

}  // namespace kestrova
