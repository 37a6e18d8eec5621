#include "core/time/time_parts.h"
#include "support/clock_window_fixture.h"
#include "support/german_format.h"

#include <algorithm>
#include <vector>

namespace norvale {
namespace {

constexpr DateTime kMinute = 60 * kOneSecond;
constexpr DateTime kHour = 60 * kMinute;

// The clock window through what a computer's clock lives through: daylight-saving switches,
// the clock set by hand, nights asleep, changes of zone and of regional format.
class TimeChangesTest : public testing::ClockWindowTest {
protected:
    // Time passing with one tick a second, enough for the alarms and the chime.
    void RunSeconds(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.AdvanceSeconds(1);
            window->Timer1Timer();
        }
    }

    // Seconds of ticking until the first alarm beep, at most `limit`; -1 when none came.
    int SecondsToAlarm(int limit) {
        for (int i = 1; i <= limit; ++i) {
            RunSeconds(1);
            if (host.Beeps > 0) {
                return i;
            }
        }
        return -1;
    }

    static DateTime At(int hour, int minute, int second) {
        return *EncodeDate(2026, 12, 7) + *EncodeTime(hour, minute, second, 0);
    }

    static void FadeIn(TfrmMain& w) {
        Bitmap32 zoom(150, 150);
        w.FFade.StartStartupFadeIn();
        while (w.FFade.Enabled()) {
            w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
        }
    }

    static std::vector<Pixel32> FrameOf(const TfrmMain& w) {
        const Bitmap32& frame = w.Skin()->Frame;
        return {frame.Bits(), frame.Bits() + frame.Width() * frame.Height()};
    }
};

// A ten-minute timer and a stopwatch run through the spring switch and through the clock
// being set back an hour; the timer fires after ten minutes of real time.
TEST_F(TimeChangesTest, TheTimerAndTheStopwatchRunOnThroughDaylightSavingAndAClockSetBack) {
    TfrmMain& w = Start();
    host.Visible = false; // in the tray: nothing to draw
    w.FTimerLength = 10 * kMinute;
    w.swTimer.Start();
    w.StopWatch1.Start();
    RunSeconds(120);                // through 11:00, which chimes
    clock.Set(clock.Now() + kHour); // spring: the computer's local time jumps an hour
    clock.Zone.Bias = -120;
    RunSeconds(120);
    clock.Set(clock.Now() - kHour); // the user sets the clock back an hour
    clock.Zone.Bias = -60;
    const int rest = SecondsToAlarm(3600);
    ASSERT_NE(rest, -1);
    EXPECT_NEAR(240 + rest, 600, 1);
    EXPECT_EQ(w.FClockType, ctTimer);
    EXPECT_NEAR(w.StopWatch1.ElapsedTime(), 240 * kOneSecond + rest * kOneSecond, 1e-9);
    EXPECT_EQ(host.Chimes, 1);
}

// The lid closes for eight hours, during which a countdown passes and eight hours turn; it
// opens during minute 0.
TEST_F(TimeChangesTest, ANightAsleepGivesOneAlarmAndNoChime) {
    TfrmMain& w = Start();
    w.FCountdownTarget = clock.Now() + 2 * kHour;
    w.FTimerLength = 10 * kMinute;
    w.swTimer.Start();
    RunSeconds(10);
    clock.AdvanceSeconds(8 * 3600 + 85); // asleep: no tick until 19:00:05
    ASSERT_NEAR(clock.Now(), At(19, 0, 5), kOneMillisecond);
    w.Timer1Timer();          // the first tick after waking
    EXPECT_EQ(host.Beeps, 2); // the countdown's and the timer's, each once
    EXPECT_EQ(w.FClockType, ctTimer);
    EXPECT_FALSE(w.swTimer.Running()); // the kitchen timer ran out while the lid was closed
    w.TimeChanged();                   // the notice of the resume, after that tick
    RunSeconds(120);
    EXPECT_EQ(host.Beeps, 2);
    EXPECT_EQ(host.Chimes, 0);
}

// The first tick after a jump or a sleep, and the notice of a change, draw the face anew
// even where the mode's key has not changed (a paused stopwatch).
TEST_F(TimeChangesTest, TheFaceIsDrawnAnewAtOnceAfterAJump) {
    TfrmMain& w = Start();
    w.SetClockType(ctStopwatch);
    Tick(3);
    const int drawn = host.Frames;
    w.TimeChanged();
    EXPECT_EQ(host.Frames, drawn + 1);
    Tick(3);
    EXPECT_EQ(host.Frames, drawn + 1);
    clock.Set(clock.Now() + 3 * kHour);
    Tick();
    EXPECT_EQ(host.Frames, drawn + 2);
    clock.AdvanceSeconds(3600); // a nap
    Tick();
    EXPECT_EQ(host.Frames, drawn + 3);
}

TEST_F(TimeChangesTest, AClockSetOntoMinuteZeroDoesNotChimeButTheNextHourDoes) {
    TfrmMain& w = Start();
    host.Visible = false;
    RunSeconds(5);
    clock.Set(At(11, 0, 5)); // set forward by hand, or by a time server
    w.TimeChanged();
    RunSeconds(60);
    clock.Set(At(11, 59, 30)); // and forward again, this time before the hour
    RunSeconds(60);
    EXPECT_EQ(host.Chimes, 1); // 12:00, reached by itself
    RunSeconds(60);
    clock.Set(At(11, 0, 50)); // back an hour and a bit, into minute 0
    RunSeconds(5);
    EXPECT_EQ(host.Chimes, 1);
}

// Picking a zone whose time is in minute 0 is no hour turning.
TEST_F(TimeChangesTest, ChangingTheZoneOntoMinuteZeroDoesNotChime) {
    AddZone("India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330);
    clock.Set(At(10, 30, 5)); // 09:30:05 UTC, 15:00:05 in India
    TfrmMain& w = Start();
    RunSeconds(2);
    w.FTimeZoneId = zones->IndexOfZoneId("India Standard Time");
    RunSeconds(30);
    EXPECT_EQ(DecodeTimeParts(w.ZoneNow()).Minute, 0);
    EXPECT_EQ(host.Chimes, 0);
}

TEST_F(TimeChangesTest, ANewRegionalFormatIsDrawnAtOnce) {
    clock.Set(*EncodeDate(2026, 12, 10) + *EncodeTime(10, 58, 30, 0)); // a Thursday
    TfrmMain& w = Start();
    FadeIn(w);
    w.FDisplayArrows = false; // the weekday shows
    w.RenderFrame();
    const std::vector<Pixel32> english = FrameOf(w);
    const int drawn = host.Frames;
    w.FormatSettingsChanged(testing::GermanGermany());
    EXPECT_EQ(host.Frames, drawn + 1);
    EXPECT_NE(FrameOf(w), english); // "Donnerstag" is longer than "Thursday"

    TfrmMain fresh(clock, *zones, host, text);
    fresh.SetDefaults();
    fresh.SetSkin(PlaceholderSkin());
    fresh.FFormatSettings = testing::GermanGermany();
    FadeIn(fresh);
    fresh.FDisplayArrows = false;
    fresh.RenderFrame();
    EXPECT_EQ(FrameOf(w), FrameOf(fresh));
}

// An alarm while the window fades out towards the tray turns the fade round.
TEST_F(TimeChangesTest, AnAlarmDuringTheFadeToTheTrayBringsTheWindowBack) {
    TfrmMain& w = Start();
    FadeIn(w);
    w.FCountdownTarget = clock.Now() + 0.15 * kOneSecond;
    Tick();
    w.RxTrayIcon1Click({1000, 760});
    TSkin& skin = const_cast<TSkin&>(*w.Skin());
    w.FFade.fadeTimerTimer(skin.Frame, skin.ZoomFrame);
    Tick(2);
    ASSERT_EQ(host.Beeps, 1);
    EXPECT_EQ(host.Shown, 1);
    EXPECT_TRUE(w.FFade.Enabled());
    EXPECT_FALSE(w.FFade.FadingOut());
    AfterFade then = AfterFade::Continue;
    while (w.FFade.Enabled()) {
        then = w.FFade.fadeTimerTimer(skin.Frame, skin.ZoomFrame).Then;
    }
    EXPECT_EQ(then, AfterFade::RenderFrame); // shown, not hidden
}

TEST_F(TimeChangesTest, AnAlarmDuringTheClosingFadeLetsTheProgramEnd) {
    TfrmMain& w = Start();
    FadeIn(w);
    w.FCountdownTarget = clock.Now() + 0.15 * kOneSecond;
    Tick();
    w.FFade.StartClosingFadeOut(); // as the close handler starts it
    Tick(2);
    ASSERT_EQ(host.Beeps, 1);
    EXPECT_TRUE(w.FFade.FadingOut());
    EXPECT_EQ(host.Shown, 0);
}

} // namespace
} // namespace norvale
