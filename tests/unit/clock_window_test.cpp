#include "core/skin/skin_values.h"
#include "core/time/time_parts.h"
#include "support/clock_window_fixture.h"
#include "support/fake_system_colours.h"

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
    // How much light a shown picture gives: its coverage at the level it is shown with.
    static double Light(const Bitmap32& picture, int level) {
        double sum = 0;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                sum += AlphaOf(picture.At(x, y));
            }
        }
        return sum * level / 255;
    }
};

// The start-up fade-in as a window shows it: each step the frame of now at a rising level,
// never an empty first step or a frame dimmed twice, and a last step that is the full frame.
TEST_F(ClockWindowTest, TheStartupFadeInShowsTheFrameBrighteningToFullLevel) {
    TfrmMain& w = Start();
    w.SetHandAngles(w.ZoneNow());
    w.RenderFrame(); // drawn at level 0, before the fade-in starts
    w.FFade.StartStartupFadeIn();
    Bitmap32 zoom(150, 150);
    std::vector<double> light;
    Bitmap32 last;
    for (int step = 0; w.FFade.Enabled(); ++step) {
        if (step % 10 == 9) {
            Tick(); // the tick draws on while the fade runs
        }
        const FadeStep shown = w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
        light.push_back(Light(zoom, shown.Present.ConstantAlpha));
        last = zoom;
    }
    ASSERT_GT(light.size(), 30u);
    EXPECT_GT(light.front(), 0.0);
    for (std::size_t i = 1; i < light.size(); ++i) {
        EXPECT_GE(light[i], light[i - 1]) << "step " << i;
    }
    w.RenderFrame();
    EXPECT_EQ(host.LastAlpha, 255);
    const Bitmap32& full = w.Skin()->Frame;
    EXPECT_GT(Light(full, 255), 0.0);
    EXPECT_NEAR(light.back(), Light(full, 255), 1e-9);
    EXPECT_TRUE(std::equal(full.Bits(), full.Bits() + 150 * 150, last.Bits()));
}

TEST_F(ClockWindowTest, WithNoZoneSelectedTheClockShowsTheComputersTime) {
    TfrmMain& w = Start();
    EXPECT_EQ(w.FTimeZoneId, -1);
    EXPECT_EQ(w.ZoneNow(), clock.Now());
    EXPECT_EQ(host.Tips.Left, "Sync time");
}

TEST_F(ClockWindowTest, TheSelectedZoneGoesThroughUtc) {
    AddZone("GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0);
    TfrmMain& w = Start();
    w.FTimeZoneId = zones->IndexOfZoneId("GMT Standard Time");
    EXPECT_NEAR(w.ZoneNow(), clock.Now() - 1.0 / 24, 1e-9);
    w.FTimeZoneId = 99; // no such position: the computer's own time, no complaint
    EXPECT_EQ(w.ZoneNow(), clock.Now());
}

// 01:30 comes twice on the night daylight saving ends; the computer knows which one it is in,
// and the selected zone's time follows from UTC, not from the ambiguous local time.
TEST_F(ClockWindowTest, TheRepeatedAutumnHourShowsTheRightZoneTime) {
    clock.Zone = {};
    clock.Zone.DaylightBias = -60; // London: daylight until the last Sunday of October 02:00
    clock.Zone.DaylightDate.wMonth = 3;
    clock.Zone.DaylightDate.wDay = 5;
    clock.Zone.DaylightDate.wHour = 1;
    clock.Zone.StandardDate.wMonth = 10;
    clock.Zone.StandardDate.wDay = 5;
    clock.Zone.StandardDate.wHour = 2;
    const DateTime repeated = *EncodeDate(2026, 10, 25) + *EncodeTime(1, 30, 0, 0);
    clock.Set(repeated);
    TfrmMain& w = Start();
    w.FTimeZoneId = zones->IndexOfZoneId("Tokyo Standard Time");
    ASSERT_NE(w.FTimeZoneId, -1);
    const DateTime nine = *EncodeDate(2026, 10, 25) + *EncodeTime(9, 0, 0, 0);
    clock.DaylightInForce = true; // the first 01:30: 00:30 UTC
    EXPECT_NEAR(w.ZoneNow(), nine + 1800 * kOneSecond, 1e-9);
    clock.DaylightInForce = false; // the second: 01:30 UTC
    EXPECT_NEAR(w.ZoneNow(), nine + 5400 * kOneSecond, 1e-9);
}

// Points become pixels as the platforms' text output makes them: size x 96 / 72, rounded.
TEST_F(ClockWindowTest, ThePlaceholderFacesLabelsHaveTheirDesignedPixelHeights) {
    TfrmMain& w = CreateWindow();
    const auto pixels = [&](LabelIndex i) { return (w.Labels[i].Font().Size * 96 + 36) / 72; };
    EXPECT_EQ(pixels(lTime), 19);
    EXPECT_EQ(pixels(lTimeBg), 19);
    EXPECT_EQ(pixels(lTitle), 9);
    EXPECT_EQ(pixels(lDate), 9);
    EXPECT_EQ(pixels(lWeekDay), 11);
    EXPECT_EQ(pixels(lAmPm), 11);
}

// How many pixels of the title's box on the text layer are exactly `colour`, opaque.
int TitlePixelsOf(const TfrmMain& w, std::uint32_t colour) {
    const TWindowLabel& title = w.Labels[lTitle];
    const Bitmap32& layer = w.Skin()->TextLayer.Bitmap();
    int count = 0;
    for (int y = title.Top; y < title.Top + title.Height; ++y) {
        for (int x = title.Left; x < title.Left + title.Width; ++x) {
            count += layer.At(x, y) == OpaquePixelOf(colour) ? 1 : 0;
        }
    }
    return count;
}

// A skin colour in the system-colour form is the user's theme colour, and follows a change
// of the theme at once.
TEST_F(ClockWindowTest, ALabelInASystemColourIsDrawnInTheUsersCurrentColour) {
    testing::FakeSystemColours colours;
    colours.Colours[13] = 0xD77800; // clHighlight: a blue
    TfrmMain& w = Start();
    w.ConnectServices({nullptr, nullptr, nullptr, nullptr, &colours});
    w.Labels[lTitle].SetFontColor(*ParseSkinColour("clHighlight"));
    w.RenderFrame();
    EXPECT_GT(TitlePixelsOf(w, 0xD77800), 10);
    EXPECT_EQ(TitlePixelsOf(w, 0x00000D), 0); // not the value's near-black low bits

    colours.Colours[13] = 0x3399FF; // the user picked another theme
    const int frames = host.Frames;
    w.SystemColoursChanged();
    EXPECT_EQ(host.Frames, frames + 1);
    EXPECT_GT(TitlePixelsOf(w, 0x3399FF), 10);
    EXPECT_EQ(TitlePixelsOf(w, 0xD77800), 0);

    // Hidden, the frame is drawn for the next fade-in but not shown.
    host.Visible = false;
    colours.Colours[13] = 0x00FF00;
    w.SystemColoursChanged();
    EXPECT_EQ(host.Frames, frames + 1);
    EXPECT_GT(TitlePixelsOf(w, 0x00FF00), 10);
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

// Starting the program again brings the running clock forward instead of making another.
TEST_F(ClockWindowTest, AnotherStartBringsTheClockForwardGrowingItBackFromTheTray) {
    TfrmMain& w = Start();
    FadeIn(w);
    EXPECT_TRUE(w.AnotherStart()); // shown and at rest: only to the foreground, no animation
    EXPECT_EQ(host.Shown, 1);
    EXPECT_FALSE(w.FFade.Enabled());

    w.RxTrayIcon1Click({1900, 1070});
    Bitmap32 zoom(150, 150);
    for (int i = 0; i < 5; ++i) {
        w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
    }
    EXPECT_TRUE(w.AnotherStart()); // on its way to the tray: it turns back
    EXPECT_EQ(host.Shown, 2);
    EXPECT_FALSE(w.FFade.FadingOut());
    EXPECT_TRUE(w.FFade.Enabled());

    w.RxTrayIcon1Click({1900, 1070});
    while (w.FFade.Enabled()) {
        w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom);
    }
    host.Visible = false;
    EXPECT_TRUE(w.AnotherStart()); // hidden: shown, growing from the tray
    EXPECT_TRUE(host.Visible);
    EXPECT_EQ(host.Shown, 3);
    EXPECT_TRUE(w.FFade.Enabled());
    EXPECT_FALSE(w.FFade.FadingOut());
    EXPECT_EQ(w.FFade.ZoomCenter().x, 1900);
}

TEST_F(ClockWindowTest, AnotherStartLeavesAClosingClockToEnd) {
    TfrmMain& w = Start();
    FadeIn(w);
    w.FFade.StartClosingFadeOut();  // as the close handler starts it
    EXPECT_FALSE(w.AnotherStart()); // the new start waits for it to end and takes its place
    EXPECT_EQ(host.Shown, 0);
    EXPECT_TRUE(w.FFade.FadingOut());
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
    window->FShownSkin = "broken";
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
