#include "core/time/stopwatch.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr DateTime kMinute = 60 * kOneSecond;
constexpr DateTime kHour = 60 * kMinute;
// A date of today is about 46,000 days; its double keeps about 10 microseconds.
constexpr DateTime kTolerance = 1e-9;

class StopWatchTest : public ::testing::Test {
protected:
    testing::FakeClock clock;
    TStopWatch watch{clock};
};

TEST_F(StopWatchTest, ANewStopwatchIsStoppedAtZero) {
    EXPECT_FALSE(watch.Running());
    EXPECT_EQ(watch.ElapsedTime(), 0);
    clock.AdvanceSeconds(30);
    EXPECT_EQ(watch.ElapsedTime(), 0);
}

TEST_F(StopWatchTest, CountsWhileRunningAndHoldsWhileStopped) {
    watch.Start();
    clock.AdvanceSeconds(90);
    EXPECT_NEAR(watch.ElapsedTime(), 1.5 * kMinute, kTolerance);
    watch.Stop();
    clock.AdvanceSeconds(600);
    EXPECT_NEAR(watch.ElapsedTime(), 1.5 * kMinute, kTolerance);
    EXPECT_NEAR(watch.RunningTotal(), 1.5 * kMinute, kTolerance);
    watch.Start();
    clock.AdvanceSeconds(30);
    EXPECT_NEAR(watch.ElapsedTime(), 2 * kMinute, kTolerance);
}

TEST_F(StopWatchTest, StartAndStopTwiceChangeNothing) {
    watch.Start();
    const DateTime started = watch.StartTime();
    clock.AdvanceSeconds(10);
    watch.Start();
    EXPECT_EQ(watch.StartTime(), started);
    EXPECT_NEAR(watch.ElapsedTime(), 10 * kOneSecond, kTolerance);
    watch.Stop();
    clock.AdvanceSeconds(10);
    watch.Stop();
    EXPECT_NEAR(watch.RunningTotal(), 10 * kOneSecond, kTolerance);
    EXPECT_NEAR(watch.ElapsedTime(), 10 * kOneSecond, kTolerance);
}

TEST_F(StopWatchTest, ResetWhileRunningRestartsFromZero) {
    watch.Start();
    clock.AdvanceSeconds(100);
    watch.Reset();
    EXPECT_TRUE(watch.Running());
    EXPECT_EQ(watch.ElapsedTime(), 0);
    clock.AdvanceSeconds(5);
    EXPECT_NEAR(watch.ElapsedTime(), 5 * kOneSecond, kTolerance);
}

TEST_F(StopWatchTest, ResetWhileStoppedStaysAtZero) {
    watch.Start();
    clock.AdvanceSeconds(100);
    watch.Stop();
    watch.Reset();
    EXPECT_FALSE(watch.Running());
    EXPECT_EQ(watch.ElapsedTime(), 0);
    EXPECT_EQ(watch.RunningTotal(), 0);
    EXPECT_EQ(watch.StartTime(), clock.Now());
    clock.AdvanceSeconds(100);
    EXPECT_EQ(watch.ElapsedTime(), 0);
}

TEST_F(StopWatchTest, WritingTheTotalWhileStoppedShowsAtOnce) {
    watch.SetRunningTotal(kHour);
    EXPECT_EQ(watch.ElapsedTime(), kHour);
    watch.Start();
    clock.AdvanceSeconds(60);
    EXPECT_NEAR(watch.ElapsedTime(), kHour + kMinute, kTolerance);
}

TEST_F(StopWatchTest, WritingTheTotalWhileRunningCountsOnFromIt) {
    watch.Start();
    clock.AdvanceSeconds(60);
    watch.SetRunningTotal(kHour);
    EXPECT_NEAR(watch.ElapsedTime(), kHour + kMinute, kTolerance);
}

// Setting the clock, a daylight-saving switch or a time server's correction move the wall
// clock alone; a running stopwatch counts on evenly and keeps the moment its run began.
TEST_F(StopWatchTest, WallClockJumpsLeaveARunningStopwatchAlone) {
    watch.Start();
    const DateTime began = watch.StartTime();
    clock.AdvanceSeconds(60);
    clock.Set(clock.Now() + 10 * kMinute); // set forward by ten minutes
    EXPECT_NEAR(watch.ElapsedTime(), kMinute, kTolerance);
    clock.AdvanceSeconds(60);
    clock.Set(clock.Now() - kHour); // the autumn switch back
    clock.AdvanceSeconds(60);
    EXPECT_NEAR(watch.ElapsedTime(), 3 * kMinute, kTolerance);
    EXPECT_EQ(watch.StartTime(), began);
    watch.Stop();
    EXPECT_NEAR(watch.RunningTotal(), 3 * kMinute, kTolerance);
}

TEST_F(StopWatchTest, TimeAsleepCounts) {
    watch.Start();
    clock.AdvanceSeconds(8 * 3600); // the lid closed for a night
    EXPECT_NEAR(watch.ElapsedTime(), 8 * kHour, kTolerance);
}

TEST_F(StopWatchTest, RestoringARunningStopwatchResumesFromItsTotal) {
    // Stored properties come back in the order StartTime, RunningTotal, Running.
    watch.SetStartTime(12'345.0);
    watch.SetRunningTotal(5 * kMinute);
    watch.SetRunning(true);
    EXPECT_EQ(watch.StartTime(), clock.Now());
    EXPECT_NEAR(watch.ElapsedTime(), 5 * kMinute, kTolerance);
    clock.AdvanceSeconds(30);
    EXPECT_NEAR(watch.ElapsedTime(), 5.5 * kMinute, kTolerance);
    watch.SetRunning(false);
    EXPECT_FALSE(watch.Running());
    EXPECT_NEAR(watch.RunningTotal(), 5.5 * kMinute, kTolerance);
}

TEST_F(StopWatchTest, StartTimeWriteTouchesNothingElse) {
    watch.SetRunningTotal(kMinute);
    watch.SetStartTime(1.0);
    EXPECT_EQ(watch.StartTime(), 1.0);
    EXPECT_EQ(watch.ElapsedTime(), kMinute);
    EXPECT_FALSE(watch.Running());
    // Nor does it move a running count: the stored moment is a wall-clock reading.
    watch.Start();
    clock.AdvanceSeconds(30);
    watch.SetStartTime(2.0);
    EXPECT_NEAR(watch.ElapsedTime(), 1.5 * kMinute, kTolerance);
}

} // namespace
} // namespace norvale
