#pragma once

#include "core/platform/win_types.h"
#include "core/time/date_time.h"

#include <cstdint>
#include <string>

namespace norvale {

// The computer's clock and its own time zone. The core never reads the real clock itself,
// so tests can drive time.
class SystemClock {
public:
    virtual ~SystemClock() = default;

    // The computer's local date-time now, to the millisecond.
    virtual DateTime Now() const = 0;

    // Fills the computer's own zone rules; returns kTimeZoneIdUnknown, kTimeZoneIdStandard,
    // kTimeZoneIdDaylight, or kTimeZoneIdInvalid on failure.
    virtual std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const = 0;

    // The system's message text for the last error code, for reporting a failed query.
    virtual std::string LastErrorText() const = 0;
};

} // namespace norvale
