#include "core/time/calendar.h"
#include "linux/system_clock_posix.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

namespace norvale::linux_adapter {
namespace {

TEST(PosixSystemClock, LocalTimePlusBiasIsUtc) {
    const PosixSystemClock clock;
    TIME_ZONE_INFORMATION zone;
    ASSERT_EQ(clock.GetTimeZoneInformation(zone), kTimeZoneIdUnknown);
    const DateTime utc = clock.Now() + zone.Bias / 1440.0;
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const double unixDays = std::chrono::duration<double>(sinceEpoch).count() / kSecondsPerDay;
    const DateTime expected = *EncodeDate(1970, 1, 1) + unixDays;
    EXPECT_LT(std::abs(utc - expected), kOneSecond);
}

} // namespace
} // namespace norvale::linux_adapter
