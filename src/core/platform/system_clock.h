#pragma once

#include "core/time/date_time.h"

namespace norvale {

// The computer's clock. The core never reads the real clock itself, so tests can drive time.
class SystemClock {
public:
    virtual ~SystemClock() = default;

    // The computer's local date-time now, to the millisecond.
    virtual DateTime Now() const = 0;
};

} // namespace norvale
