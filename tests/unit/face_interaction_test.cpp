#include "support/clock_window_fixture.h"
#include "support/face_clicks.h"

namespace norvale {
namespace {

// Dialogs that answer as the test scripted them and remember what they were given.
class FakeDialogs final : public ClockDialogs {
public:
    struct Script {
        int Result = mrCancel;
        DateTime Value = 0;
        bool AutoStart = true;
        DateTime Given = -1;
        int Shown = 0;
    };

    std::unique_ptr<CountdownDialog> CreateCountdownDialog() override {
        return std::make_unique<Countdown>(Countdowns);
    }
    std::unique_ptr<TimerDialog> CreateTimerDialog() override {
        return std::make_unique<Timer>(Timers);
    }
    std::unique_ptr<WorldClockDialog> CreateWorldClockDialog() override {
        return std::make_unique<WorldClock>(Zones);
    }

    Script Countdowns;
    Script Timers;
    // Value: the zone chosen; Label: what the dialog was given, then what it returns.
    struct ZoneScript {
        int Result = mrCancel;
        int Zone = -1;
        std::string Label;
        std::vector<std::string> Calls;
    } Zones;

private:
    struct Countdown final : CountdownDialog {
        explicit Countdown(Script& s) : S(s) {}
        void SetCountdownTarget(DateTime target) override { S.Given = target; }
        DateTime GetCountdownTarget() const override { return S.Value; }
        int ShowModal() override { return ++S.Shown, S.Result; }
        Script& S;
    };
    struct Timer final : TimerDialog {
        explicit Timer(Script& s) : S(s) {}
        void SetTimerDuration(DateTime duration) override { S.Given = duration; }
        DateTime GetTimerDuration() const override { return S.Value; }
        bool GetAutoStart() const override { return S.AutoStart; }
        int ShowModal() override { return ++S.Shown, S.Result; }
        Script& S;
    };
    struct WorldClock final : WorldClockDialog {
        explicit WorldClock(ZoneScript& s) : S(s) {}
        void SelectZone(int position) override {
            S.Calls.push_back("SelectZone " + std::to_string(position));
        }
        int SelectedZone() const override { return S.Zone; }
        void SetClockLabel(const std::string& label) override {
            S.Calls.push_back("SetClockLabel " + label);
        }
        std::string GetClockLabel() const override { return S.Label; }
        int ShowModal() override { return S.Result; }
        ZoneScript& S;
    };
};

class FaceTest : public testing::ClockWindowTest {
protected:
    TfrmMain& Open() {
        TfrmMain& w = Start();
        w.ConnectServices({&dialogs, nullptr, &registry});
        return w;
    }

    void Click(int x, int y, TMouseButton button = TMouseButton::mbLeft) {
        testing::ClickAt(*window, host, {x, y}, button);
    }
    POINT LeftButton() const { return testing::ButtonCentre(window->Buttons[0]); }
    POINT RightButton() const { return testing::ButtonCentre(window->Buttons[1]); }
    POINT Title() const {
        const TWindowLabel& t = window->Labels[lTitle];
        return {t.Left + t.Width / 2, t.Top + t.Height / 2};
    }
    POINT CentreSpot() const {
        const FloatPoint p = window->Skin()->HandsPivot();
        return {static_cast<int>(p.X), static_cast<int>(p.Y)};
    }
    FakeDialogs dialogs;
};

TEST_F(FaceTest, TitleClicksCycleTheModesAndLeaveAtomicForClock) {
    TfrmMain& w = Open();
    const POINT t = Title();
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        Click(t.x, t.y);
        seen.push_back(w.FClockType);
    }
    EXPECT_EQ(seen, (std::vector<int>{ctCountdown, ctUpTime, ctStopwatch, ctTimer, ctClock}));
    w.SetClockType(ctAtomic);
    Click(t.x, t.y);
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(w.FLastKey, -1); // the next tick redraws the new mode
}

TEST_F(FaceTest, TheCentreSpotTogglesTheHandsOnItsEdgesButNotBeyond) {
    TfrmMain& w = Open();
    const POINT c = CentreSpot();
    Click(c.x + 5, c.y - 5);
    EXPECT_FALSE(w.FDisplayArrows);
    Click(c.x - 5, c.y + 5);
    EXPECT_TRUE(w.FDisplayArrows);
    Click(c.x + 6, c.y);
    EXPECT_TRUE(w.FDisplayArrows);
}

TEST_F(FaceTest, HoverLightsTheTitleAndCentreWithTheHandCursorAndNeverDrags) {
    TfrmMain& w = Open();
    const POINT t = Title();
    w.FormMouseMove(t.x, t.y);
    EXPECT_TRUE(w.FTitleHot);
    EXPECT_EQ(w.Cursor, TCursorKind::HandPoint);
    const POINT c = CentreSpot();
    w.FormMouseMove(c.x, c.y);
    EXPECT_TRUE(w.FCenterHot);
    EXPECT_FALSE(w.FTitleHot);
    EXPECT_EQ(w.Cursor, TCursorKind::HandPoint);
    EXPECT_EQ(host.Drags, 0);
    // The background: hot zones go dark, the cursor is the default, the move drags.
    w.FormMouseMove(c.x + 20, c.y + 30);
    EXPECT_FALSE(w.FCenterHot);
    EXPECT_EQ(w.Cursor, TCursorKind::Default);
    EXPECT_EQ(host.Drags, 1);
}

TEST_F(FaceTest, AMoveIntoAButtonHoversItAndTheNextMoveInsideItDrags) {
    TfrmMain& w = Open();
    const POINT b = LeftButton();
    w.FormMouseMove(b.x, b.y);
    EXPECT_EQ(host.Drags, 0);
    EXPECT_TRUE(w.Buttons[0].State & TSknButton::kHover);
    w.FormMouseMove(b.x + 1, b.y);
    EXPECT_EQ(host.Drags, 1);
}

TEST_F(FaceTest, StopwatchButtonsStartPauseAndResetKeepingTheRunningState) {
    TfrmMain& w = Open();
    w.SetClockType(ctStopwatch);
    const POINT left = LeftButton();
    const POINT right = RightButton();
    Click(left.x, left.y);
    EXPECT_TRUE(w.StopWatch1.Running());
    clock.AdvanceSeconds(3);
    Click(left.x, left.y);
    EXPECT_FALSE(w.StopWatch1.Running());
    EXPECT_NEAR(w.StopWatch1.ElapsedTime(), 3 * kOneSecond, 1e-9);
    // The pressed look stays in Stopwatch mode until the mouse moves over the button.
    EXPECT_TRUE(w.Buttons[0].State & TSknButton::kDown);
    Click(right.x, right.y);
    EXPECT_EQ(w.StopWatch1.ElapsedTime(), 0);
    EXPECT_FALSE(w.StopWatch1.Running());
    Click(left.x, left.y);
    clock.AdvanceSeconds(2);
    Click(right.x, right.y);
    EXPECT_TRUE(w.StopWatch1.Running());
    EXPECT_EQ(w.StopWatch1.ElapsedTime(), 0);
}

TEST_F(FaceTest, APressAnywhereStopsTheAlarmBeepButOnlyTheLeftPressesAButton) {
    TfrmMain& w = Open();
    host.Beeping = true;
    const POINT b = LeftButton();
    w.FormMouseDown(TMouseButton::mbRight, b.x, b.y);
    EXPECT_FALSE(host.Beeping);
    EXPECT_FALSE(w.Buttons[0].State & TSknButton::kDown);
    w.FormMouseDown(TMouseButton::mbLeft, b.x, b.y);
    EXPECT_TRUE(w.Buttons[0].State & TSknButton::kDown);
}

// With Click Through the face never sees a press: while an alarm sounds it takes presses again,
// each only to stop the alarm, and the menu's "Stop Alarm" stops one too.
TEST_F(FaceTest, WithClickThroughASoundingAlarmCanStillBeStopped) {
    TfrmMain& w = Open();
    w.ClickThrough1Checked = true;
    w.ClickThrough1Click();
    ASSERT_TRUE(host.ClickThrough);
    w.FCountdownTarget = w.ZoneNow() + 2 * kOneSecond;
    Tick(25);
    ASSERT_TRUE(host.Beeping);
    EXPECT_FALSE(host.ClickThrough);
    EXPECT_TRUE(w.AlarmRinging());
    const POINT title = Title();
    w.FormMouseDown(TMouseButton::mbLeft, title.x, title.y);
    w.FormMouseMove(title.x + 30, title.y + 30);
    host.Cursor = title;
    w.FormMouseUp();
    EXPECT_FALSE(host.Beeping);
    EXPECT_TRUE(host.ClickThrough);
    EXPECT_EQ(w.FClockType, ctCountdown); // the press did nothing else: no mode step, no drag
    EXPECT_EQ(host.Drags, 0);

    w.SetClockType(ctTimer);
    w.swTimer.Start();
    Tick(105);
    ASSERT_TRUE(host.Beeping);
    EXPECT_FALSE(host.ClickThrough);
    w.StopAlarm1Click();
    EXPECT_FALSE(host.Beeping);
    EXPECT_TRUE(host.ClickThrough);
    Click(title.x, title.y); // a press with no alarm sounding acts as always
    EXPECT_EQ(w.FClockType, ctClock);
}

// Nothing stored: the first target proposed is now on the computer's clock, not the time of
// whichever zone comes first in the list, and no alarm waits for the moment of the start
// should the clock be set back.
TEST_F(FaceTest, TheFirstCountdownProposesTheComputersTimeNow) {
    TfrmMain& w = Open();
    Tick();
    clock.Set(clock.Now() - 120 * kOneSecond); // a time server's correction
    Tick(1300);
    EXPECT_EQ(host.Beeps, 0);
    w.SetCountdown1Click();
    EXPECT_NEAR(dialogs.Countdowns.Given, clock.Now(), 1e-9);
    dialogs.Countdowns = {mrOk, clock.Now() - kOneSecond};
    w.SetCountdown1Click();
    w.SetCountdown1Click(); // a chosen target is proposed again, even once it has passed
    EXPECT_NEAR(dialogs.Countdowns.Given, clock.Now() - kOneSecond, 1e-9);
}

TEST_F(FaceTest, ATimerThatRanItsLengthCannotBeResumed) {
    TfrmMain& w = Open();
    w.SetClockType(ctTimer);
    const POINT left = LeftButton();
    Click(left.x, left.y);
    EXPECT_TRUE(w.swTimer.Running());
    Tick(105); // past the ten seconds: the alarm stops it
    ASSERT_FALSE(w.swTimer.Running());
    Click(left.x, left.y);
    EXPECT_FALSE(w.swTimer.Running());
    EXPECT_EQ(w.Buttons[0].State, TSknButton::kNormal);
}

TEST_F(FaceTest, TimerDialogFromTheRightButton) {
    TfrmMain& w = Open();
    w.SetClockType(ctTimer);
    const POINT right = RightButton();
    // Cancel keeps everything but still draws a frame.
    const int frames = host.Frames;
    Click(right.x, right.y);
    EXPECT_EQ(dialogs.Timers.Given, 10 * kOneSecond);
    EXPECT_EQ(w.FTimerLength, 10 * kOneSecond);
    EXPECT_GT(host.Frames, frames);
    // OK with auto start off: reset, not started.
    w.swTimer.Start();
    w.swTimer.Stop();
    dialogs.Timers = {mrOk, 3 * kOneSecond, false};
    Click(right.x, right.y);
    EXPECT_EQ(w.FTimerLength, 3 * kOneSecond);
    EXPECT_FALSE(w.swTimer.Running());
    EXPECT_EQ(w.FClockType, ctTimer);
    // OK with auto start on while running: on again from zero.
    w.swTimer.Start();
    clock.AdvanceSeconds(2);
    dialogs.Timers = {mrOk, 5 * kOneSecond, true};
    Click(right.x, right.y);
    EXPECT_TRUE(w.swTimer.Running());
    EXPECT_EQ(w.swTimer.ElapsedTime(), 0);
}

TEST_F(FaceTest, CountdownDialogArmsAndResetCancels) {
    TfrmMain& w = Open();
    w.SetClockType(ctCountdown);
    const DateTime target = w.ZoneNow() + 2 * kOneSecond;
    dialogs.Countdowns = {mrOk, target};
    const POINT left = LeftButton();
    Click(left.x, left.y);
    EXPECT_EQ(w.FCountdownTarget, target);
    Tick(); // arms at the next tick
    EXPECT_TRUE(w.FCountdownArmed);
    const POINT right = RightButton();
    Click(right.x, right.y);
    EXPECT_FALSE(w.FCountdownArmed);
    EXPECT_EQ(w.FCountdownTarget, w.ZoneNow());
    Tick(40);
    EXPECT_EQ(host.Beeps, 0);
}

TEST_F(FaceTest, WorldClockOkSetsZoneLabelAndClockModeCancelNothing) {
    TfrmMain& w = Open();
    w.SetClockType(ctStopwatch);
    dialogs.Zones = {mrCancel, 0, "Tokyo", {}};
    w.WorldClock1Click();
    // The zone first, then the label, so the dialog opens with the current label.
    EXPECT_EQ(dialogs.Zones.Calls,
              (std::vector<std::string>{"SelectZone -1", "SetClockLabel Time"}));
    EXPECT_EQ(w.FClockLabel, "Time");
    EXPECT_EQ(w.FClockType, ctStopwatch);
    dialogs.Zones.Result = mrOk;
    w.WorldClock1Click();
    EXPECT_EQ(w.FTimeZoneId, 0);
    EXPECT_EQ(w.FClockLabel, "Tokyo");
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_NEAR(w.ZoneNow(), clock.Now() + 8.0 / 24, 1e-9);
}

TEST_F(FaceTest, TrayClicksHideTowardsTheCursorAndShowBackAtTheRestPlace) {
    TfrmMain& w = Open();
    host.Position = {300, 200};
    w.RxTrayIcon1Click({1000, 760});
    EXPECT_TRUE(w.FFade.FadingOut());
    EXPECT_FALSE(w.FFade.Closing());
    EXPECT_EQ(w.FFade.ZoomCenter().x, 1000);
    EXPECT_EQ(w.FFade.RestCenter().x, 375);
    host.Visible = false;
    host.Position = {990, 750}; // where the hide left it
    w.RxTrayIcon1Click({900, 760});
    EXPECT_EQ(host.Shown, 1);
    EXPECT_FALSE(w.FFade.FadingOut());
    // A second click while it grows back hides it again but keeps its place.
    w.RxTrayIcon1Click({900, 760});
    EXPECT_TRUE(w.FFade.FadingOut());
    EXPECT_EQ(w.FFade.RestCenter().x, 375);
    EXPECT_EQ(w.FFade.RestCenter().y, 275);
}

} // namespace
} // namespace norvale
