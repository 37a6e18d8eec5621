#include "core/clock/clock_window.h"
#include "core/time/calendar.h"
#include "core/time/time_parts.h"
#include "support/fake_clock.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace norvale {
namespace {

class FakeHost final : public ClockWindowHost {
public:
    bool WindowVisible() const override { return Visible; }
    void ShowForAlarm() override {
        ++Shown;
        Visible = true;
    }
    std::uint64_t TickCount() const override { return Ticks; }
    void StartBeep() override {
        ++Beeps;
        Beeping = true;
    }
    bool BeepRunning() const override { return Beeping; }
    void PlayChime() override { ++Chimes; }
    void SetButtonTips(const TButtonTips& tips) override { Tips = tips; }
    void PresentFrame(const PresentRequest& request) override {
        ++Frames;
        LastAlpha = request.ConstantAlpha;
    }
    POINT WindowPosition() const override { return {100, 200}; }

    bool Visible = true;
    bool Beeping = false;
    std::uint64_t Ticks = 0;
    int Shown = 0;
    int Beeps = 0;
    int Chimes = 0;
    int Frames = 0;
    int LastAlpha = -1;
    TButtonTips Tips;
};

// A zone database entry: 44 bytes of biases and rules, little-endian, no daylight saving.
std::string PlainTzi(std::int32_t bias) {
    std::string bytes(44, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bias >> (8 * i)) & 0xFF);
    }
    return bytes;
}

class ClockWindowTest : public ::testing::Test {
protected:
    ClockWindowTest() {
        clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 58, 30, 0));
        clock.Zone.Bias = -60; // the computer is an hour ahead of UTC
        AddZone("Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", -540);
    }

    void AddZone(const std::string& id, const std::string& display, std::int32_t bias) {
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\" + id;
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          display);
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                          PlainTzi(bias));
    }

    // The window as a start leaves it: defaults set, the placeholder skin, shown.
    TfrmMain& Start() {
        zones = std::make_unique<TVeskRegistryTimeZones>(registry, true);
        window = std::make_unique<TfrmMain>(clock, *zones, host, text);
        window->SetDefaults();
        window->SetSkin(PlaceholderSkin());
        return *window;
    }

    // Runs the start-up fade to its end, so frames are drawn at full level.
    static void FadeIn(TfrmMain& w) {
        w.FFade.StartStartupFadeIn();
        Bitmap32 zoom(150, 150);
        while (w.FFade.Enabled()) {
            w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
        }
    }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            window->Timer1Timer();
            clock.AdvanceSeconds(0.1);
        }
    }

    testing::FakeClock clock;
    testing::FakeRegistry registry;
    testing::FakeTextRasterizer text;
    FakeHost host;
    std::unique_ptr<TVeskRegistryTimeZones> zones;
    std::unique_ptr<TfrmMain> window;
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
} // namespace norvale
