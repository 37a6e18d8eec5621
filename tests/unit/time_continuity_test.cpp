#include "core/time/time_continuity.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr DateTime kStart = 46'363.5;

TEST(TimeContinuity, TheFirstReadingHasNothingToFollow) {
    TimeContinuity continuity;
    EXPECT_EQ(continuity.Observe(kStart, 5'000), TimeStep::First);
    EXPECT_EQ(continuity.Observe(kStart + 100 * kOneMillisecond, 5'100), TimeStep::Continuous);
}

// Both clocks advance in system-timer steps, so two readings a tick apart may differ by a
// few dozen milliseconds; a second's drift is still no jump.
TEST(TimeContinuity, TicksWithinTheToleranceAreContinuous) {
    TimeContinuity continuity;
    continuity.Observe(kStart, 0);
    EXPECT_EQ(continuity.Observe(kStart + 116 * kOneMillisecond, 100), TimeStep::Continuous);
    EXPECT_EQ(continuity.Observe(kStart + 200 * kOneMillisecond, 216), TimeStep::Continuous);
    // A tick held up five seconds by a blocking query, the wall clock with it.
    EXPECT_EQ(continuity.Observe(kStart + 5'200 * kOneMillisecond, 5'216), TimeStep::Continuous);
    // A slewing correction of 900 ms between two ticks.
    EXPECT_EQ(continuity.Observe(kStart + 6'200 * kOneMillisecond, 5'316), TimeStep::Continuous);
}

TEST(TimeContinuity, AWallClockThatMovedOnItsOwnJumped) {
    TimeContinuity continuity;
    continuity.Observe(kStart, 0);
    EXPECT_EQ(continuity.Observe(kStart + 1.0 / 24, 100), TimeStep::ClockChanged); // spring
    EXPECT_EQ(continuity.Observe(kStart + 200 * kOneMillisecond, 200), TimeStep::ClockChanged);
    EXPECT_EQ(continuity.Observe(kStart + 300 * kOneMillisecond, 300), TimeStep::Continuous);
    // A wall clock that stood still for two seconds while the count went on.
    EXPECT_EQ(continuity.Observe(kStart + 300 * kOneMillisecond, 2'300), TimeStep::ClockChanged);
}

TEST(TimeContinuity, ALongPauseOnTheMonotonicCountIsASleep) {
    TimeContinuity continuity;
    continuity.Observe(kStart, 0);
    constexpr std::int64_t kNight = 8LL * 3'600'000;
    EXPECT_EQ(continuity.Observe(kStart + kNight / kMillisecondsPerDay, kNight), TimeStep::Resumed);
    // Whatever the wall clock did meanwhile: set during the sleep, or not.
    EXPECT_EQ(continuity.Observe(kStart, kNight + 10'001), TimeStep::Resumed);
    EXPECT_EQ(continuity.Observe(kStart + 10'000 * kOneMillisecond, kNight + 20'001),
              TimeStep::Continuous); // exactly the longest pause a waking tick may take
}

} // namespace
} // namespace norvale
