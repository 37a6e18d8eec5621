#pragma once

#include "core/platform/system_clock.h"
#include "core/time/date_time.h"

namespace norvale::testing {

// A clock that stands still until the test moves it; its zone is whatever the test sets.
class FakeClock final : public SystemClock {
public:
    explicit FakeClock(DateTime now = 46'000.5) : FNow(now) {}

    DateTime Now() const override { return FNow; }
    void Set(DateTime now) { FNow = now; }
    void AdvanceSeconds(double seconds) { FNow += seconds * kOneSecond; }

    std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const override {
        info = Zone;
        return ZoneResult;
    }
    std::string LastErrorText() const override { return ErrorText; }

    TIME_ZONE_INFORMATION Zone;
    std::uint32_t ZoneResult = kTimeZoneIdUnknown;
    std::string ErrorText = "The operation completed successfully.";

private:
    DateTime FNow;
};

} // namespace norvale::testing
