// The clock window stays on a screen: at start, and when monitors come, go or change while it
// runs, shown or hidden.
#include "support/clock_window_fixture.h"
#include "support/fake_monitor_layout.h"

namespace norvale {
namespace {

constexpr RECT kPrimary{0, 0, 1920, 1040};
constexpr RECT kLeft{-1280, 0, 0, 984};

class ClockOnScreenTest : public testing::ClockWindowTest {
protected:
    // The placeholder face, 150 x 150, among the fake monitors.
    TfrmMain& Open() {
        TfrmMain& w = Start();
        w.ConnectServices({nullptr, nullptr, nullptr, &monitors});
        return w;
    }

    // The window placed at start at `topLeft` among `areas`, as the start places it.
    TfrmMain& StartedAt(POINT topLeft, std::vector<RECT> areas) {
        monitors.Areas = std::move(areas);
        TfrmMain& w = Open();
        host.Position = w.OnScreenPlace(topLeft);
        return w;
    }

    testing::FakeMonitorLayout monitors;
};

TEST_F(ClockOnScreenTest, AStartPlaceOffEveryScreenComesOntoTheNearestOneOnlyThen) {
    TfrmMain& w = StartedAt({100, 100}, {kPrimary});
    EXPECT_EQ(host.Position.x, 100);
    EXPECT_EQ(host.Position.y, 100);
    // A place stored on a wider screen, far beyond this one's right edge.
    const POINT beyond = w.OnScreenPlace({3000, 400});
    EXPECT_EQ(beyond.x, 1920 - 150);
    EXPECT_EQ(beyond.y, 400);
    // Without monitors to go by the place stays.
    w.ConnectServices({});
    EXPECT_EQ(w.OnScreenPlace({3000, 400}).x, 3000);
}

TEST_F(ClockOnScreenTest, AShownClockOnAMonitorThatWentAwayMovesOntoTheOtherKeepingItsPlace) {
    TfrmMain& w = StartedAt({-700, 750}, {kPrimary, kLeft});
    EXPECT_EQ(host.Position.x, -700);
    monitors.Areas = {kPrimary};
    w.DisplayLayoutChanged();
    // 550 from the gone monitor's right edge and 84 above its bottom: the same on this one.
    EXPECT_EQ(host.Position.x, 1920 - 550 - 150);
    EXPECT_EQ(host.Position.y, 1040 - 84 - 150);
}

TEST_F(ClockOnScreenTest, AScreenThatShrankWhileRunningBringsTheClockBack) {
    TfrmMain& w = StartedAt({3000, 100}, {{0, 0, 3200, 1040}});
    monitors.Areas = {{0, 0, 1280, 984}};
    w.DisplayLayoutChanged();
    EXPECT_EQ(host.Position.x, 1280 - 50 - 150);
    EXPECT_EQ(host.Position.y, 100);
    // Growing again changes nothing: the clock is on screen.
    monitors.Areas = {{0, 0, 3200, 1040}};
    w.DisplayLayoutChanged();
    EXPECT_EQ(host.Position.x, 1080);
}

TEST_F(ClockOnScreenTest, AHiddenClocksRestPlaceIsKeptOnAMonitorSoShowGrowsItThere) {
    TfrmMain& w = StartedAt({-675, 225}, {kPrimary, kLeft});
    w.RxTrayIcon1Click({1900, 1070}); // hidden towards the tray
    while (w.FFade.Enabled()) {
        host.Position =
            w.FFade.fadeTimerTimer(w.Skin()->Frame, const_cast<TSkin*>(w.Skin())->ZoomFrame)
                .Present.Position;
    }
    host.Visible = false;
    const POINT hiddenAt = host.Position;
    EXPECT_EQ(w.FFade.RestCenter().x, -600);
    EXPECT_EQ(w.FFade.RestCenter().y, 300);
    monitors.Areas = {kPrimary};
    w.DisplayLayoutChanged();
    // The rest place moved as a 150 x 150 face at (-675, 225) would: 525 from the right edge.
    EXPECT_EQ(w.FFade.RestCenter().x, 1920 - 525 - 150 + 75);
    EXPECT_EQ(w.FFade.RestCenter().y, 300);
    // The hidden window itself stays where the fade left it.
    EXPECT_EQ(host.Position.x, hiddenAt.x);
    EXPECT_EQ(host.Position.y, hiddenAt.y);
    // Show grows it back at the rest place, on the screen that is left.
    w.RxTrayIcon1Click({1900, 1070});
    while (w.FFade.Enabled()) {
        w.FFade.fadeTimerTimer(w.Skin()->Frame, const_cast<TSkin*>(w.Skin())->ZoomFrame);
    }
    EXPECT_EQ(w.FFade.WindowPos().x, 1920 - 525 - 150);
    EXPECT_EQ(w.FFade.WindowPos().y, 225);
}

TEST_F(ClockOnScreenTest, AClockOnScreenIsNeverMovedAndAFadingOneOnlyByItsRestPlace) {
    TfrmMain& w = StartedAt({1700, 800}, {kPrimary, kLeft});
    monitors.Areas = {kPrimary, {1920, 0, 3840, 1040}};
    w.DisplayLayoutChanged();
    EXPECT_EQ(host.Position.x, 1700);
    EXPECT_EQ(host.Position.y, 800);
    // While a fade-in runs the window travels; only where it heads for is corrected.
    w.FFade.SetRestCenter({5000, 875});
    w.FFade.StartFadeIn();
    host.Position = {4925, 800};
    monitors.Areas = {kPrimary};
    w.DisplayLayoutChanged();
    EXPECT_EQ(host.Position.x, 4925);
    EXPECT_EQ(w.FFade.RestCenter().x, 1920 - 150 + 75);
}

} // namespace
} // namespace norvale
