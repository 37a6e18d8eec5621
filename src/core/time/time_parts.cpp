#include "core/time/time_parts.h"

#include <cmath>

namespace norvale {

long long TimeOfDayMilliseconds(DateTime value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    // nearbyint rounds ties to even in the default rounding mode; fmod keeps huge magnitudes
    // exact instead of overflowing an integer conversion.
    const double ms = std::nearbyint(std::fabs(value) * kMillisecondsPerDay);
    return static_cast<long long>(std::fmod(ms, kMillisecondsPerDay));
}

TimeParts DecodeTimeParts(DateTime value) {
    const long long n = TimeOfDayMilliseconds(value);
    TimeParts parts;
    parts.Hour = static_cast<int>(n / 3'600'000);
    parts.Minute = static_cast<int>((n / 60'000) % 60);
    parts.Second = static_cast<int>((n / 1000) % 60);
    parts.Millisecond = static_cast<int>(n % 1000);
    return parts;
}

} // namespace norvale
