#include "core/time/time_continuity.h"

#include <cmath>

namespace norvale {

TimeStep TimeContinuity::Observe(DateTime wall, std::int64_t monotonicMs) {
    const bool first = !FHasReading;
    const std::int64_t paused = monotonicMs - FCount;
    const double wallMs = (wall - FWall) * kMillisecondsPerDay;
    FHasReading = true;
    FWall = wall;
    FCount = monotonicMs;
    if (first) {
        return TimeStep::First;
    }
    if (paused > kLongestPauseMs) {
        return TimeStep::Resumed;
    }
    if (std::fabs(wallMs - static_cast<double>(paused)) > static_cast<double>(kJumpToleranceMs)) {
        return TimeStep::ClockChanged;
    }
    return TimeStep::Continuous;
}

} // namespace norvale
