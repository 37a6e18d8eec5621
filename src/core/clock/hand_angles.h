#pragma once

#include "core/platform/date_time.h"

#include <cstdint>

namespace norvale {

// Degrees as the rotating layers take them: positive turns counter-clockwise on screen, so
// the hands carry negative angles to turn clockwise.
struct THandAngles {
    float Hour = 0;
    float Minute = 0;
    float Second = 0;
};

// The hour hand moves by whole minutes, the minute hand by whole seconds, the second hand
// once a second; hours from 12 on give angles beyond -360, which look the same.
THandAngles HandAnglesFor(DateTime value);

// The redraw key of Clock and UpTime: the second of the value's calendar year, so they redraw
// once a second.
std::int64_t SecondOfYearKey(DateTime value);

// The redraw key of Stopwatch and Timer: the value's millisecond div 90 (0 to 11).
std::int64_t MillisecondBucketKey(DateTime value);

} // namespace norvale
