#pragma once

#include "core/platform/system_clock.h"

namespace norvale::linux_adapter {

// The computer's clock and zone from the C library, for the Linux tests and tools. The zone
// is reported as one bias, the offset in force now (daylight saving included), with no
// zone id, which is all the core needs to turn local time into UTC.
class PosixSystemClock final : public SystemClock {
public:
    DateTime Now() const override;
    DateTime UtcNow() const override;
    std::int64_t MonotonicMilliseconds() const override;
    std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const override;
    std::string LastErrorText() const override;
};

} // namespace norvale::linux_adapter
