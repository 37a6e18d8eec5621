#pragma once

#include "core/platform/date_time.h"

#include <cstdint>

namespace norvale {

// How a reading of the wall clock follows from the one before it.
enum class TimeStep {
    First,        // no reading before it
    Continuous,   // the wall clock ran on as the monotonic count did
    Resumed,      // a long pause since the last reading: the computer slept or hibernated
    ClockChanged, // the wall clock jumped: set by hand or by a time server, a change of
                  // zone or of daylight saving
};

// Tells, from the monotonic count, whether the wall clock ran on by itself between two
// readings. Whatever waits for a wall-clock moment (the chime, an alarm) acts on a
// Continuous step only when it must not act on a jump, and once, at the first reading after
// a pause, when it must not miss a moment that passed while nothing was read.
class TimeContinuity {
public:
    // Readings further apart than this on the monotonic count mean the computer slept: a
    // tick is never held up that long while it is awake (a blocking time query waits 5 s).
    static constexpr std::int64_t kLongestPauseMs = 10'000;
    // The wall clock may drift from the monotonic count by this much between two readings
    // without counting as a jump; both clocks advance in system-timer steps of up to 16 ms.
    static constexpr std::int64_t kJumpToleranceMs = 1'000;

    // Classifies a reading against the previous one, and keeps it for the next.
    TimeStep Observe(DateTime wall, std::int64_t monotonicMs);

private:
    bool FHasReading = false;
    DateTime FWall = 0;
    std::int64_t FCount = 0;
};

} // namespace norvale
