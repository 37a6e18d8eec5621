#pragma once

#include "core/platform/date_time.h"
#include "core/platform/system_clock.h"

#include <cmath>

namespace norvale::testing {

// A clock that stands still until the test moves it; its zone is whatever the test sets.
// Time that passes moves the wall clock and the monotonic count alike, whether the computer
// is awake or asleep; Set moves the wall clock alone, as setting the computer's clock or a
// daylight-saving switch does.
class FakeClock final : public SystemClock {
public:
    explicit FakeClock(DateTime now = 46'000.5) : FNow(now) {}

    DateTime Now() const override { return FNow; }
    // Local time plus the bias in force: the zone's standard or daylight one, as
    // DaylightInForce says.
    DateTime UtcNow() const override {
        const int bias = Zone.Bias + (DaylightInForce ? Zone.DaylightBias : Zone.StandardBias);
        return FNow + bias / (24.0 * 60.0);
    }
    std::int64_t MonotonicMilliseconds() const override { return FCount; }
    void Set(DateTime now) { FNow = now; }
    void AdvanceSeconds(double seconds) {
        FNow += seconds * kOneSecond;
        FCount += std::llround(seconds * 1000);
    }

    std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const override {
        info = Zone;
        return ZoneResult;
    }
    std::string LastErrorText() const override { return ErrorText; }

    TIME_ZONE_INFORMATION Zone;
    bool DaylightInForce = false;
    std::uint32_t ZoneResult = kTimeZoneIdUnknown;
    std::string ErrorText = "The operation completed successfully.";

private:
    DateTime FNow;
    std::int64_t FCount = 3'600'000; // the computer started an hour ago
};

} // namespace norvale::testing
