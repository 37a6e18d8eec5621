#pragma once

#include "core/platform/date_time.h"

namespace norvale {

struct TimeParts {
    int Hour = 0;        // 0 to 23
    int Minute = 0;      // 0 to 59
    int Second = 0;      // 0 to 59
    int Millisecond = 0; // 0 to 999

    friend bool operator==(const TimeParts&, const TimeParts&) = default;
};

// The time of day that every display, hand angle and redraw key is built from: the magnitude
// in whole milliseconds (ties to even), modulo one day. A negative value therefore has the
// parts of its magnitude, and a value that rounds up to midnight reads 00:00:00.000.
TimeParts DecodeTimeParts(DateTime value);

// Milliseconds since midnight of the same rule, 0 to 86,399,999.
long long TimeOfDayMilliseconds(DateTime value);

} // namespace norvale
