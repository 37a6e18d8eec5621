#include "core/clock/display_mode.h"
#include "core/clock/hand_angles.h"
#include "core/time/calendar.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr DateTime kSecond = kOneSecond;
constexpr DateTime kHour = 3600 * kOneSecond;

DateTime At(int h, int m, int s) {
    return *EncodeDate(2026, 12, 7) + *EncodeTime(h, m, s, 0);
}

class FrameTextsTest : public ::testing::Test {
protected:
    TFrameTexts Texts() { return ComputeFrameTexts(in, fs); }

    TFrameInputs in;
    FormatSettings fs = FormatSettings::EnglishUnitedStates();
};

TEST_F(FrameTextsTest, ClockOnTheTwentyFourHourDial) {
    in.AmPm = false;
    in.ClockLabel = "London";
    in.ZoneTime = At(9, 5, 3);
    TFrameTexts t = Texts();
    EXPECT_EQ(t.Time, "09:05:03"); // "9:05:03" with one "0" in front
    EXPECT_EQ(t.Title, "London");
    EXPECT_EQ(t.AmPm, "");
    EXPECT_EQ(t.Date, "Dec 07");
    EXPECT_EQ(t.WeekDay, "Monday");
    in.ZoneTime = At(23, 59, 59);
    EXPECT_EQ(Texts().Time, "23:59:59");
}

TEST_F(FrameTextsTest, ClockOnTheTwelveHourDial) {
    in.ZoneTime = At(15, 4, 5);
    TFrameTexts t = Texts();
    EXPECT_EQ(t.Time, "03:04:05"); // "03:04:05 pm" cut to 8 characters
    EXPECT_EQ(t.AmPm, "pm");
    in.ZoneTime = At(0, 30, 0);
    t = Texts();
    EXPECT_EQ(t.Time, "12:30:00");
    EXPECT_EQ(t.AmPm, "am");
}

TEST_F(FrameTextsTest, CountdownAheadAndPast) {
    in.Mode = ctCountdown;
    in.ZoneTime = At(10, 0, 0);
    in.CountdownTarget = in.ZoneTime + 1 + 2 * kHour + 3 * 60 * kSecond + 4 * kSecond;
    TFrameTexts t = Texts();
    EXPECT_EQ(t.Title, "countdown");
    EXPECT_EQ(t.Date, "1 days");
    EXPECT_EQ(t.Time, "02:03:04");
    EXPECT_FALSE(t.HandsAtZero);
    in.CountdownTarget = in.ZoneTime - kSecond;
    t = Texts();
    EXPECT_EQ(t.Date, "0 days");
    EXPECT_EQ(t.Time, "00:00:00");
    EXPECT_TRUE(t.HandsAtZero);
}

TEST_F(FrameTextsTest, UpTimeCountsDaysWithoutWrapping) {
    in.Mode = ctUpTime;
    in.TickCountMs = 25ULL * 3'600'000;
    TFrameTexts t = Texts();
    EXPECT_EQ(t.Date, "1 day");
    EXPECT_EQ(t.Time, "01:00:00");
    in.TickCountMs = 49ULL * 3'600'000;
    EXPECT_EQ(Texts().Date, "2 days");
    // Past 2^32 ms (49.7 days) the count goes on: 50 days and 1 hour.
    in.TickCountMs = (50ULL * 24 + 1) * 3'600'000;
    t = Texts();
    EXPECT_EQ(t.Date, "50 days");
    EXPECT_EQ(t.Time, "01:00:00");
}

TEST_F(FrameTextsTest, StopwatchTimerAndAtomicShowMilliseconds) {
    in.Mode = ctStopwatch;
    in.StopwatchElapsed = 1.05 * kSecond;
    TFrameTexts t = Texts();
    EXPECT_EQ(t.Time, "00:00:01");
    EXPECT_EQ(t.Date, "50");
    EXPECT_EQ(t.Title, "stopwatch");

    in.Mode = ctTimer;
    in.TimerLength = 10 * kSecond;
    in.TimerElapsed = 2.75 * kSecond;
    t = Texts();
    EXPECT_EQ(t.Time, "00:00:07");
    EXPECT_EQ(t.Date, "250");
    in.TimerElapsed = 10 * kSecond;
    EXPECT_EQ(Texts().Date, "000");

    in.Mode = ctAtomic;
    in.TimeDiff = -2.5 * kSecond; // the server 2.5 s behind: the magnitude, no sign
    t = Texts();
    EXPECT_EQ(t.Time, "00:00:02");
    EXPECT_EQ(t.Date, "500");
    EXPECT_EQ(t.Title, "atomic");
}

TEST_F(FrameTextsTest, TheReadOutKeepsEightCharacters) {
    EXPECT_EQ(EightCharacterReadOut("9:05:03"), "09:05:03");
    EXPECT_EQ(EightCharacterReadOut("03:04:05 pm"), "03:04:05");
    EXPECT_EQ(EightCharacterReadOut(""), "0");
    fs.TimeSeparator = ".";
    in.AmPm = false;
    in.ZoneTime = At(9, 5, 3);
    EXPECT_EQ(Texts().Time, "09.05.03");
}

TEST(ButtonTips, EachModeNamesWhatItsButtonsDo) {
    EXPECT_EQ(ButtonTipsFor(ctClock).Left, "Sync time");
    EXPECT_EQ(ButtonTipsFor(ctClock).Right, "See the time difference");
    EXPECT_EQ(ButtonTipsFor(ctCountdown).Left, "Countdown to...");
    EXPECT_EQ(ButtonTipsFor(ctCountdown).Right, "Reset");
    EXPECT_EQ(ButtonTipsFor(ctUpTime).Left, "");
    EXPECT_EQ(ButtonTipsFor(ctStopwatch).Left, "Pause/Resume");
    EXPECT_EQ(ButtonTipsFor(ctTimer).Right, "Set up Timer");
    EXPECT_EQ(ButtonTipsFor(ctAtomic).Right, "See the time difference");
}

TEST(HandAngles, TurnClockwiseByWholeMinutesAndSeconds) {
    const THandAngles a = HandAnglesFor(At(15, 30, 45) + 999 * kOneMillisecond);
    EXPECT_FLOAT_EQ(a.Hour, -465.0f); // beyond -360 from 12 o'clock on
    EXPECT_FLOAT_EQ(a.Minute, -184.5f);
    EXPECT_FLOAT_EQ(a.Second, -270.0f); // milliseconds do not move the second hand
    const THandAngles zero = HandAnglesFor(0);
    EXPECT_EQ(zero.Hour, 0.0f);
    EXPECT_EQ(zero.Second, 0.0f);
}

TEST(RedrawKeys, ClockOncePerSecondStopwatchInNinetyMillisecondBuckets) {
    const DateTime newYear = *EncodeDate(2024, 1, 1);
    EXPECT_EQ(SecondOfYearKey(newYear), 0);
    EXPECT_EQ(SecondOfYearKey(newYear + kSecond + 500 * kOneMillisecond), 1);
    EXPECT_EQ(SecondOfYearKey(*EncodeDate(2024, 12, 31) + *EncodeTime(23, 59, 59, 0)),
              366LL * 86'400 - 1);
    EXPECT_EQ(MillisecondBucketKey(1.05 * kSecond), 0);
    EXPECT_EQ(MillisecondBucketKey(90 * kOneMillisecond), 1);
    EXPECT_EQ(MillisecondBucketKey(999 * kOneMillisecond), 11);
}

} // namespace
} // namespace norvale
