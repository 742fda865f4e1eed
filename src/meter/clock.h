#pragma once

#include "base/local_date_time.h"

namespace kestrova {

// Today's date and the time of day; injected so that midnight, the month change and the
// rate windows can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

}  // namespace kestrova
