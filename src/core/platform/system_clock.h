#pragma once

#include "core/platform/date_time.h"
#include "core/platform/win_types.h"

#include <cstdint>
#include <string>

namespace norvale {

// The computer's clocks and its own time zone. The core never reads the real clock itself,
// so tests can drive time. There are two clocks and the core never mixes them: the wall
// clock is what the face shows and can be set, moved by daylight saving or corrected by a
// time server; the monotonic count is what every measured span (the stopwatch, the timer)
// runs on.
class SystemClock {
public:
    virtual ~SystemClock() = default;

    // The computer's local date-time now, to the millisecond.
    virtual DateTime Now() const = 0;

    // The same moment in UTC, to the millisecond. Unlike local time it is never ambiguous:
    // in the hour repeated when daylight saving ends, only UTC tells the two apart.
    virtual DateTime UtcNow() const = 0;

    // Milliseconds on a count that only ever moves forward, is never set, and goes on while
    // the computer sleeps or hibernates, so a timer started before the lid closed has run
    // out when it opens.
    virtual std::int64_t MonotonicMilliseconds() const = 0;

    // Fills the computer's own zone rules; returns kTimeZoneIdUnknown, kTimeZoneIdStandard,
    // kTimeZoneIdDaylight, or kTimeZoneIdInvalid on failure.
    virtual std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const = 0;

    // The system's message text for the last error code, for reporting a failed query.
    virtual std::string LastErrorText() const = 0;
};

} // namespace norvale
