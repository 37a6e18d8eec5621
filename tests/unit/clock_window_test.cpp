#include "core/time/time_parts.h"
#include "support/clock_window_fixture.h"

#include <algorithm>

namespace norvale {
namespace {

// The clock window with a way to run the start-up fade to its end, so frames are drawn at
// full level.
class ClockWindowTest : public testing::ClockWindowTest {
protected:
    static void FadeIn(TfrmMain& w) {
        w.FFade.StartStartupFadeIn();
        Bitmap32 zoom(150, 150);
        while (w.FFade.Enabled()) {
            w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
        }
    }
};

TEST_F(ClockWindowTest, WithoutTheDefaultZoneTheClockShowsTheComputersTime) {
    TfrmMain& w = Start();
    EXPECT_EQ(w.FTimeZoneId, -1);
    EXPECT_EQ(w.ZoneNow(), clock.Now());
    EXPECT_EQ(host.Tips.Left, "Sync time");
}

TEST_F(ClockWindowTest, TheSelectedZoneGoesThroughUtc) {
    AddZone("GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0);
    TfrmMain& w = Start();
    ASSERT_NE(w.FTimeZoneId, -1);
    EXPECT_NEAR(w.ZoneNow(), clock.Now() - 1.0 / 24, 1e-9);
    // The countdown target was taken while the position was still 0: the first zone.
    EXPECT_NEAR(w.FCountdownTarget, clock.Now() - 1.0 / 24, 1e-9);
    w.FTimeZoneId = 99; // no such position: the computer's own time, no complaint
    EXPECT_EQ(w.ZoneNow(), clock.Now());
}

TEST_F(ClockWindowTest, APastCountdownNeverFires) {
    TfrmMain& w = Start();
    w.FCountdownTarget = clock.Now() - kOneSecond;
    Tick(30);
    EXPECT_EQ(host.Beeps, 0);
    EXPECT_EQ(w.FClockType, ctClock);
}

TEST_F(ClockWindowTest, ACountdownWhileHiddenBringsTheWindowBackOnce) {
    TfrmMain& w = Start();
    host.Visible = false;
    w.FCountdownTarget = clock.Now() + 2 * kOneSecond;
    Tick(19);
    EXPECT_EQ(host.Beeps, 0);
    Tick(3);
    EXPECT_EQ(host.Beeps, 1);
    EXPECT_EQ(host.Shown, 1);
    EXPECT_EQ(w.FClockType, ctCountdown);
    EXPECT_TRUE(w.FFade.Enabled()); // fading in
    EXPECT_FALSE(w.FFade.FadingOut());
    Tick(50);
    EXPECT_EQ(host.Beeps, 1);
}

TEST_F(ClockWindowTest, TheTimerAlarmStopsTheTimerAndSwitchesMode) {
    TfrmMain& w = Start();
    w.swTimer.Start();
    Tick(99);
    EXPECT_EQ(host.Beeps, 0);
    Tick(2);
    EXPECT_EQ(host.Beeps, 1);
    EXPECT_FALSE(w.swTimer.Running());
    EXPECT_EQ(w.FClockType, ctTimer);
    EXPECT_EQ(host.Tips.Right, "Set up Timer");
    EXPECT_EQ(host.Shown, 0); // visible already
    Tick(20);
    EXPECT_EQ(host.Beeps, 1);
}

TEST_F(ClockWindowTest, ExactlyOneChimeWhenTheMinuteTurnsToZero) {
    clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 59, 58, 0));
    TfrmMain& w = Start();
    Tick(40);
    EXPECT_EQ(host.Chimes, 1);
    clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(11, 59, 58, 0));
    w.Chimes1Checked = false;
    Tick(40);
    EXPECT_EQ(host.Chimes, 1);
}

TEST_F(ClockWindowTest, NoChimeWhenStartedInsideMinuteZero) {
    clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(11, 0, 10, 0));
    Start();
    Tick(100);
    EXPECT_EQ(host.Chimes, 0);
}

TEST_F(ClockWindowTest, ClockModeDrawsOncePerSecond) {
    Start();
    Tick(30); // three seconds, starting on a whole second
    EXPECT_EQ(host.Frames, 3);
    EXPECT_EQ(host.LastAlpha, 0); // no fade ran yet: the level is still 0
}

TEST_F(ClockWindowTest, ARunningStopwatchRedrawsAPausedOneDoesNot) {
    TfrmMain& w = Start();
    w.SetClockType(ctStopwatch);
    w.StopWatch1.Start();
    Tick(20);
    EXPECT_GE(host.Frames, 18);
    w.StopWatch1.Stop();
    Tick(); // the stopped total is drawn once
    const int frames = host.Frames;
    Tick(20);
    EXPECT_EQ(host.Frames, frames);
}

TEST_F(ClockWindowTest, AHiddenWindowDrawsNothing) {
    TfrmMain& w = Start();
    host.Visible = false;
    Tick(30);
    w.RenderFrame();
    EXPECT_EQ(host.Frames, 0);
}

// The labels keep their rasterized texts from frame to frame; after changing texts, a hot
// title and a blinking read-out the frame must still be the one a new window draws.
TEST_F(ClockWindowTest, KeptLabelTextsDrawTheFrameAFreshWindowDraws) {
    TfrmMain& w = Start();
    FadeIn(w);
    Tick(25);
    w.FTitleHot = true;
    w.RenderFrame();
    w.FTitleHot = false;
    host.Beeping = true;
    w.SetClockType(ctStopwatch);
    w.RenderFrame();
    w.SetClockType(ctClock);
    Tick(16);
    w.RenderFrame();

    TfrmMain fresh(clock, *zones, host, text);
    fresh.SetDefaults();
    fresh.SetSkin(PlaceholderSkin());
    FadeIn(fresh);
    fresh.RenderFrame();

    const Bitmap32& kept = w.Skin()->Frame;
    const Bitmap32& expected = fresh.Skin()->Frame;
    ASSERT_EQ(kept.Width(), expected.Width());
    EXPECT_TRUE(std::equal(kept.Bits(), kept.Bits() + 150 * 150, expected.Bits()));
    // The read-out is white on the even second the beep blinks.
    EXPECT_EQ(DecodeTimeParts(clock.Now()).Second % 2, 0);
}

} // namespace
// A frame that cannot be drawn would fail again at every tick: it is reported once, and no
// frame is drawn until another skin takes its place.
TEST_F(ClockWindowTest, AFrameThatFailsIsReportedOnceUntilTheNextSkin) {
    Start();
    window->FClockSkin = "broken";
    text.PaintFails = true;
    const int framesBefore = host.Frames;
    Tick(30);
    window->RenderFrame();
    ASSERT_EQ(host.BrokenFrames.size(), 1u);
    EXPECT_EQ(host.BrokenFrames[0],
              "The skin \"broken\" cannot be drawn.\nthe text cannot be drawn");
    EXPECT_TRUE(host.Errors.empty());
    EXPECT_EQ(host.Frames, framesBefore);

    text.PaintFails = false;
    window->SetSkin(PlaceholderSkin());
    window->RenderFrame();
    EXPECT_EQ(host.BrokenFrames.size(), 1u);
    EXPECT_EQ(host.Frames, framesBefore + 1);
}

} // namespace norvale
