// The clock's desktop manners: a locked position, clicks passing through, its opacity and
// stepping behind a full-screen program on its monitor.
#include "core/clock/desktop_manners.h"
#include "support/clock_window_fixture.h"
#include "support/fake_monitor_layout.h"

namespace norvale {
namespace {

constexpr RECT kPrimaryScreen{0, 0, 1920, 1080};
constexpr RECT kRightScreen{1920, 0, 3200, 1024};

TEST(OpacityTest, TheFourLevelsGiveTheirConstantAlphaAndNoOtherLevelIsOffered) {
    EXPECT_EQ(OpacityAlpha(100), 255);
    EXPECT_EQ(OpacityAlpha(85), 217);
    EXPECT_EQ(OpacityAlpha(70), 179);
    EXPECT_EQ(OpacityAlpha(50), 128);
    EXPECT_EQ(OpacityAlpha(0), 0);
    EXPECT_EQ(OpacityAlpha(250), 255);
    for (const int level : {100, 85, 70, 50}) {
        EXPECT_TRUE(IsOpacityLevel(level)) << level;
    }
    for (const int other : {0, 10, 49, 51, 99, 101, -50}) {
        EXPECT_FALSE(IsOpacityLevel(other)) << other;
    }
}

TEST(OpacityTest, AFadeLevelIsScaledByTheOpacityAndFullLevelGivesTheOpacityItself) {
    EXPECT_EQ(ScaleAlpha(255, 128), 128);
    EXPECT_EQ(ScaleAlpha(255, 255), 255);
    EXPECT_EQ(ScaleAlpha(0, 217), 0);
    EXPECT_EQ(ScaleAlpha(128, 128), 64);
    EXPECT_EQ(ScaleAlpha(7, 128), 4); // 3.51 rounds up
}

// Monitors with one program in front, as the full-screen check sees them.
class FullScreenTest : public ::testing::Test {
protected:
    testing::FakeMonitorLayout monitors;
    void SetUp() override { monitors.Screens = {kPrimaryScreen, kRightScreen}; }
    bool Over(const RECT& clock) const { return FullScreenOver(clock, monitors); }
};

TEST_F(FullScreenTest, AProgramSpanningTheClocksWholeScreenCoversIt) {
    const RECT clock{100, 100, 250, 250};
    EXPECT_FALSE(Over(clock)); // nothing in front
    monitors.Foreground = kPrimaryScreen;
    EXPECT_TRUE(Over(clock));
    // Larger than the screen, as a borderless game or a window with hidden frame may be.
    monitors.Foreground = RECT{-8, -8, 1928, 1088};
    EXPECT_TRUE(Over(clock));
}

TEST_F(FullScreenTest, AMaximisedWindowLeavingTheTaskbarFreeIsNoFullScreenProgram) {
    monitors.Foreground = RECT{0, 0, 1920, 1040};
    EXPECT_FALSE(Over({100, 100, 250, 250}));
    monitors.Foreground = RECT{1, 0, 1920, 1080};
    EXPECT_FALSE(Over({100, 100, 250, 250}));
}

TEST_F(FullScreenTest, OnlyTheMonitorHoldingMostOfTheClockCounts) {
    monitors.Foreground = kRightScreen;
    EXPECT_FALSE(Over({100, 100, 250, 250}));
    EXPECT_TRUE(Over({2000, 100, 2150, 250}));
    // Across the edge: 100 columns on the right screen, 50 on the primary one.
    EXPECT_TRUE(Over({1870, 100, 2020, 250}));
    EXPECT_FALSE(Over({1820, 100, 1970, 250}));
}

TEST_F(FullScreenTest, AClockOnNoScreenIsNeverCovered) {
    monitors.Foreground = kPrimaryScreen;
    EXPECT_FALSE(Over({5000, 5000, 5150, 5150}));
}

TEST_F(FullScreenTest, APresentationCoversEveryMonitor) {
    monitors.Presentation = true;
    EXPECT_TRUE(Over({2000, 100, 2150, 250}));
    EXPECT_TRUE(Over({100, 100, 250, 250}));
}

class MannersTest : public testing::ClockWindowTest {
protected:
    TfrmMain& Open() {
        monitors.Screens = {kPrimaryScreen, kRightScreen};
        TfrmMain& w = Start();
        w.ConnectServices({nullptr, nullptr, &registry, &monitors});
        return w;
    }
    testing::FakeMonitorLayout monitors;
};

TEST_F(MannersTest, ALockedFaceIsNotDraggedButStillLightsItsHotZones) {
    TfrmMain& w = Open();
    w.LockPosition1Checked = true;
    const TWindowLabel& title = w.Labels[lTitle];
    w.FormMouseMove(20, 20); // the face's background
    EXPECT_EQ(host.Drags, 0);
    w.FormMouseMove(title.Left + 2, title.Top + 2);
    EXPECT_TRUE(w.FTitleHot);
    w.LockPosition1Checked = false;
    w.FormMouseMove(20, 20);
    EXPECT_EQ(host.Drags, 1);
}

TEST_F(MannersTest, ClickThroughFollowsItsCheckMark) {
    TfrmMain& w = Open();
    w.ClickThrough1Checked = true;
    w.ClickThrough1Click();
    EXPECT_TRUE(host.ClickThrough);
    w.ClickThrough1Checked = false;
    w.ClickThrough1Click();
    EXPECT_FALSE(host.ClickThrough);
}

TEST_F(MannersTest, TheOpacityIsTheWindowsConstantAlphaAndTheLayersStayWhole) {
    TfrmMain& w = Open();
    w.FFade.StartStartupFadeIn();
    for (int i = 0; i < 40 && w.FFade.Enabled(); ++i) {
        w.FFade.fadeTimerTimer(w.Skin()->Frame, const_cast<TSkin*>(w.Skin())->ZoomFrame);
    }
    ASSERT_FALSE(w.FFade.Enabled());
    const int frames = host.Frames;
    w.SetOpacity(50);
    EXPECT_EQ(host.Frames, frames + 1); // shown at once
    EXPECT_EQ(host.LastAlpha, 128);
    // The frame's layers are composed at full level: the window's alpha halves them once.
    EXPECT_EQ(w.FFade.Blend().SourceConstantAlpha, 255);
    w.SetOpacity(85);
    EXPECT_EQ(host.LastAlpha, 217);
    w.SetOpacity(30); // not offered: the clock is never made faint by a stray value
    EXPECT_EQ(w.Opacity(), 100);
    EXPECT_EQ(host.LastAlpha, 255);
}

TEST_F(MannersTest, FadesRunFromNothingUpToTheOpacityAndBackDown) {
    TfrmMain& w = Open();
    w.SetOpacity(50);
    FadeZoom& fade = w.FFade;
    TSkin& skin = *const_cast<TSkin*>(w.Skin());
    fade.StartStartupFadeIn();
    std::vector<int> alphas;
    while (fade.Enabled()) {
        alphas.push_back(fade.fadeTimerTimer(skin.Frame, skin.ZoomFrame).Present.ConstantAlpha);
    }
    ASSERT_EQ(alphas.size(), 37u); // the same steps as at full opacity
    EXPECT_EQ(alphas.front(), 4);  // level 7 at half
    EXPECT_EQ(alphas.back(), 128);
    EXPECT_TRUE(std::is_sorted(alphas.begin(), alphas.end()));
    fade.StartFadeOut();
    const FadeStep first = fade.fadeTimerTimer(skin.Frame, skin.ZoomFrame);
    EXPECT_EQ(first.Present.ConstantAlpha, 123); // level 245 at half
}

TEST_F(MannersTest, TheTopmostClockStepsBehindAFullScreenProgramAndComesBackAfter) {
    TfrmMain& w = Open();
    host.Position = {100, 100};
    w.HideWhenFullScreen1Checked = true;
    w.HideWhenFullScreen1Click();
    EXPECT_TRUE(host.Topmost);
    monitors.Foreground = kPrimaryScreen;
    Tick();
    EXPECT_TRUE(host.Behind);
    EXPECT_TRUE(w.SteppedBehind());
    Tick(5);
    EXPECT_EQ(host.StepsBehind, 1); // once, not at every tick
    monitors.Foreground.reset();
    Tick();
    EXPECT_TRUE(host.Topmost);
    EXPECT_FALSE(w.SteppedBehind());
}

TEST_F(MannersTest, AFullScreenProgramOnAnotherMonitorLeavesTheClockOnTop) {
    TfrmMain& w = Open();
    host.Position = {100, 100};
    w.HideWhenFullScreen1Checked = true;
    w.HideWhenFullScreen1Click();
    monitors.Foreground = kRightScreen;
    Tick(3);
    EXPECT_TRUE(host.Topmost);
    EXPECT_EQ(host.StepsBehind, 0);
    // Dragged onto that monitor, it steps behind there.
    host.Position = {2000, 100};
    Tick();
    EXPECT_TRUE(host.Behind);
}

TEST_F(MannersTest, SteppingBehindNeedsTheSettingAndATopmostClock) {
    TfrmMain& w = Open();
    host.Position = {100, 100};
    monitors.Foreground = kPrimaryScreen;
    Tick(3);
    EXPECT_EQ(host.StepsBehind, 0); // the setting is off
    w.HideWhenFullScreen1Checked = true;
    w.OnTop1Checked = false;
    w.OnTop1Click();
    Tick(3);
    EXPECT_EQ(host.StepsBehind, 0);
    EXPECT_FALSE(host.Topmost);
    // On Top again while the program still covers the screen: straight behind it.
    w.OnTop1Checked = true;
    w.OnTop1Click();
    EXPECT_TRUE(host.Behind);
    // Unchecking the setting brings the clock back on top at once.
    w.HideWhenFullScreen1Checked = false;
    w.HideWhenFullScreen1Click();
    EXPECT_TRUE(host.Topmost);
    EXPECT_FALSE(w.SteppedBehind());
}

} // namespace
} // namespace norvale
