#pragma once

#include "core/platform/system_clock.h"
#include "core/time/date_time.h"

namespace norvale::testing {

// A clock that stands still until the test moves it.
class FakeClock final : public SystemClock {
public:
    explicit FakeClock(DateTime now = 46'000.5) : FNow(now) {}

    DateTime Now() const override { return FNow; }
    void Set(DateTime now) { FNow = now; }
    void AdvanceSeconds(double seconds) { FNow += seconds * kOneSecond; }

private:
    DateTime FNow;
};

} // namespace norvale::testing
