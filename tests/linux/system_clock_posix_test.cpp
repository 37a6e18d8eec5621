#include "core/time/calendar.h"
#include "linux/system_clock_posix.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

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

// The boot-time clock: it counts from the computer's start, suspended time included, so it
// is never behind the monotonic clock, which leaves suspended time out.
TEST(PosixSystemClock, TheMonotonicCountIncludesSuspendedTimeAndAdvances) {
    const PosixSystemClock clock;
    timespec monotonic{};
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    const std::int64_t first = clock.MonotonicMilliseconds();
    EXPECT_GE(first, std::int64_t{monotonic.tv_sec} * 1000 + monotonic.tv_nsec / 1'000'000);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::int64_t second = clock.MonotonicMilliseconds();
    EXPECT_GE(second - first, 45);
    EXPECT_LT(second - first, 5000);
}

} // namespace
} // namespace norvale::linux_adapter
