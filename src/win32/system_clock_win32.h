#pragma once

#include "core/platform/system_clock.h"

namespace norvale::win32 {

class Win32SystemClock final : public SystemClock {
public:
    DateTime Now() const override;
    DateTime UtcNow() const override;
    std::int64_t MonotonicMilliseconds() const override;
    std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const override;
    std::string LastErrorText() const override;
};

} // namespace norvale::win32
