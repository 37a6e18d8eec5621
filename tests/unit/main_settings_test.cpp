#include "core/platform/settings_paths.h"
#include "core/shell/form_storage.h"
#include "core/shell/startup_registration.h"
#include "core/time/format_date_time.h"
#include "core/time/time_parts.h"
#include "support/clock_window_fixture.h"
#include "support/german_format.h"

#include <functional>

namespace norvale {
namespace {

// The window's placement as the fake host has it: a 150 x 150 window at its position.
class HostPlacement final : public PlacementWindow {
public:
    explicit HostPlacement(testing::FakeClockWindowHost& host) : FHost(host) {}
    WINDOWPLACEMENT GetPlacement() const override {
        WINDOWPLACEMENT p;
        p.showCmd = FHost.Visible ? 1 : 0;
        p.rcNormalPosition = Bounds();
        return p;
    }
    void SetPlacement(const WINDOWPLACEMENT& p) override {
        FHost.Position = {p.rcNormalPosition.left, p.rcNormalPosition.top};
    }
    RECT Bounds() const override {
        const POINT at = FHost.Position;
        return {at.x, at.y, at.x + 150, at.y + 150};
    }
    bool IsVisible() const override { return FHost.Visible; }
    bool IsSizeable() const override { return false; }
    bool IsMainWindow() const override { return true; }
    void UseDesignedPosition() override {}
    ScreenSize PrimaryScreenSize() const override { return {1024, 768}; }
    int PixelsPerInch() const override { return 96; }
    bool IsAppIconic() const override { return false; }

private:
    testing::FakeClockWindowHost& FHost;
};

class MainSettingsTest : public testing::ClockWindowTest {
protected:
    // A window created as at start: defaults, then the stored settings, then the tick.
    TfrmMain& Create(const FormatSettings& format = FormatSettings::EnglishUnitedStates()) {
        TfrmMain& w = CreateWindow();
        w.FFormatSettings = format;
        w.ConnectServices({nullptr, nullptr, &registry});
        store = std::make_unique<TFormStorage>(registry, placement, format.DecimalSeparator);
        w.ConfigureStorage(*store);
        store->RestoreState();
        w.StartTick();
        return w;
    }
    // A value as something else wrote it: an older version, a hand, a damaged disk.
    void Plant(const std::string& name, const std::string& text) {
        registry.SetValue(RegistryRoot::CurrentUser, std::string(kMainSettingsPath), name,
                          RegistryValueType::String, text);
    }
    std::string Stored(const std::string& name) {
        const auto* value =
            registry.GetValue(RegistryRoot::CurrentUser, std::string(kMainSettingsPath), name);
        return value ? value->Data : "<missing>";
    }
    const testing::FakeRegistry::Value* RunValue() {
        return registry.GetValue(RegistryRoot::CurrentUser, std::string(kRunKeyPath),
                                 "NorvaleTimeClock");
    }

    // The window shown at topLeft as a start shows it: grown and faded in to full level.
    void ShowAt(TfrmMain& w, POINT topLeft) {
        host.Position = topLeft;
        const POINT centre{topLeft.x + 75, topLeft.y + 75};
        w.FFade.SetZoomCenter(centre);
        w.FFade.SetRestCenter(centre);
        w.FFade.StartStartupFadeIn();
        FadeSteps(w, 1000);
    }
    // Up to `count` steps of the running animation, each moving the window as a real one.
    void FadeSteps(TfrmMain& w, int count) {
        Bitmap32 zoom(150, 150);
        for (int i = 0; i < count && w.FFade.Enabled(); ++i) {
            host.Position = w.FFade.fadeTimerTimer(w.Skin()->Frame, zoom).Present.Position;
        }
    }

    HostPlacement placement{host};
    std::unique_ptr<TFormStorage> store;
};

// A new user sees the computer's own time, whichever zones the list holds, and the countdown's
// first target is that time too.
TEST_F(MainSettingsTest, FirstStartKeepsTheDefaultsAndRegistersTheProgram) {
    AddZone("GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0);
    TfrmMain& w = Create();
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(w.FClockSkin, "norvale");
    EXPECT_EQ(w.FClockLabel, "Time");
    EXPECT_EQ(w.FTimeZoneId, -1);
    EXPECT_EQ(w.ZoneNow(), clock.Now());
    EXPECT_NEAR(w.FCountdownTarget, clock.Now(), 1e-9);
    EXPECT_TRUE(w.FDisplayArrows);
    EXPECT_NEAR(w.FTimerLength, 10 * kOneSecond, 1e-12);
    EXPECT_TRUE(host.Topmost);
    ASSERT_NE(RunValue(), nullptr);
    // In quotes: the path has blanks, and unquoted Windows would try "C:\Program.exe" first.
    EXPECT_EQ(RunValue()->Data, "\"C:\\Program Files\\Norvale\\NorvaleTimeClock.exe\"");
}

TEST_F(MainSettingsTest, TheWindowsOwnValuesRoundTripInTheirStoredForms) {
    TfrmMain& w = Create();
    w.SetClockType(ctStopwatch);
    w.FCountdownTarget = *EncodeDate(2027, 1, 2) + *EncodeTime(3, 4, 5, 0);
    w.FTimerLength = *EncodeTime(0, 1, 30, 0);
    w.FDisplayArrows = false;
    w.FTimeZoneId = -1;
    w.FClockLabel = " Home ";
    w.FClockSkin = "other";
    w.SaveState();
    EXPECT_EQ(Stored("ClockType"), "3");
    EXPECT_EQ(Stored("bDisplayArrows"), "0");
    EXPECT_EQ(Stored("FTimeZoneId"), "-1");
    EXPECT_EQ(Stored("Countdown"), FormatLocaleDateTime(w.FCountdownTarget, w.FFormatSettings));

    TfrmMain& again = Create();
    EXPECT_EQ(again.FClockType, ctStopwatch);
    EXPECT_EQ(host.Tips.Left, "Pause/Resume");
    EXPECT_NEAR(again.FCountdownTarget, *EncodeDate(2027, 1, 2) + *EncodeTime(3, 4, 5, 0), 1e-9);
    EXPECT_NEAR(again.FTimerLength, *EncodeTime(0, 1, 30, 0), 1e-9);
    EXPECT_FALSE(again.FDisplayArrows);
    EXPECT_EQ(again.FTimeZoneId, -1);
    EXPECT_EQ(again.FClockLabel, " Home ");
    EXPECT_EQ(again.FClockSkin, "other");
}

TEST_F(MainSettingsTest, UnreadableStoredTextsKeepTheirDefaults) {
    const std::string section(kMainSettingsPath);
    for (const auto& [name, text] :
         std::vector<std::pair<std::string, std::string>>{{"Countdown", "soon"},
                                                          {"TimerDate", "13/45/2026"},
                                                          {"bDisplayArrows", "maybe"},
                                                          {"ClockType", "200"},
                                                          {"FTimeZoneId", "x"}}) {
        registry.SetValue(RegistryRoot::CurrentUser, section, name, RegistryValueType::String,
                          text);
    }
    TfrmMain& w = Create();
    EXPECT_NEAR(w.FTimerLength, 10 * kOneSecond, 1e-12);
    EXPECT_TRUE(w.FDisplayArrows);
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(w.FTimeZoneId, -1); // the computer's own time
    // Any number or the words: "-1", "1" and "true" all show the hands.
    registry.SetValue(RegistryRoot::CurrentUser, section, "bDisplayArrows",
                      RegistryValueType::String, "false");
    EXPECT_FALSE(Create().FDisplayArrows);
    registry.SetValue(RegistryRoot::CurrentUser, section, "bDisplayArrows",
                      RegistryValueType::String, "1");
    EXPECT_TRUE(Create().FDisplayArrows);
}

// An entry an earlier version wrote without quotes, or one naming where the program stood
// before it moved, is written anew, quoted, at the next start.
TEST_F(MainSettingsTest, AnOldUnquotedEntryIsRewrittenInQuotesAtTheNextStart) {
    registry.SetValue(RegistryRoot::CurrentUser, std::string(kRunKeyPath), "NorvaleTimeClock",
                      RegistryValueType::String, "C:\\Old Place\\NorvaleTimeClock.exe");
    host.Executable = "D:\\Tools\\NorvaleTimeClock.exe";
    Create();
    ASSERT_NE(RunValue(), nullptr);
    EXPECT_EQ(RunValue()->Data, "\"D:\\Tools\\NorvaleTimeClock.exe\"");
}

TEST_F(MainSettingsTest, UncheckingLoadAtStartupDeletesTheRunValueAtOnce) {
    TfrmMain& w = Create();
    ASSERT_NE(RunValue(), nullptr);
    w.LoadatStartup1Checked = false;
    w.LoadatStartup1Click();
    EXPECT_EQ(RunValue(), nullptr);
    w.SaveState();
    Create();
    EXPECT_EQ(RunValue(), nullptr); // the next start does not re-create it
    EXPECT_EQ(RunValueName("C:\\My Apps\\clock.v2\\Norvale Clock.exe"), "Norvale Clock");
    EXPECT_EQ(RunValueName("/opt/norvale/NorvaleTimeClock"), "NorvaleTimeClock");
}

TEST_F(MainSettingsTest, RegistryErrorsAreReportedOnceAndNeverStopAClose) {
    TfrmMain& w = Create();
    registry.FailWrites = true;
    w.LoadatStartup1Checked = true;
    EXPECT_THROW(w.LoadatStartup1Click(), RegistryError); // the menu reports it
    EXPECT_TRUE(w.FormCloseQuery());
    EXPECT_FALSE(w.FormClose()); // starts the closing fade-out, as without the error
    EXPECT_EQ(host.Errors.size(), 1u);
    EXPECT_NE(host.Errors[0].find("Failed to"), std::string::npos);
}

TEST_F(MainSettingsTest, ExitWhileHiddenSavesTheVisibleRestPosition) {
    TfrmMain& w = Create();
    w.FFade.SetRestCenter({475, 375});
    w.FFade.StartFadeOut(); // hidden to the tray
    host.Visible = false;
    host.Position = {1000, 760}; // where the hide animation left it, by the tray
    w.Exit1Click();
    EXPECT_EQ(Stored("NormPos"), "400,300,550,450");
    EXPECT_EQ(host.CloseRequests, 1);
    EXPECT_TRUE(w.FFade.Closing());
    // Hidden: the close goes ahead without an animation.
    EXPECT_TRUE(w.FormClose());
}

// Exit, the close query of a log-off or shutdown, and a close request (Alt+F4) all store the
// time a running stopwatch and timer counted, and the next start counts on from it.
TEST_F(MainSettingsTest, EveryWayOfEndingFoldsARunningStopwatchIntoItsStoredTotal) {
    const std::vector<std::pair<const char*, std::function<void(TfrmMain&)>>> endings{
        {"Exit", [](TfrmMain& w) { w.Exit1Click(); }},
        {"log-off", [](TfrmMain& w) { w.FormCloseQuery(); }},
        {"close request", [](TfrmMain& w) { w.FormClose(); }},
    };
    for (const auto& [name, end] : endings) {
        TfrmMain& w = Create();
        w.StopWatch1.Reset();
        w.StopWatch1.Start();
        w.swTimer.Reset();
        w.swTimer.Start();
        clock.AdvanceSeconds(90);
        end(w);
        EXPECT_EQ(Stored("StopWatch1_Running"), "True") << name;
        EXPECT_NEAR(std::stod(Stored("StopWatch1_RunningTotal")), 90 * kOneSecond, 1e-9) << name;
        EXPECT_NEAR(std::stod(Stored("swTimer_RunningTotal")), 90 * kOneSecond, 1e-9) << name;
        clock.AdvanceSeconds(3600);
        TfrmMain& again = Create();
        EXPECT_TRUE(again.StopWatch1.Running()) << name;
        EXPECT_NEAR(again.StopWatch1.ElapsedTime(), 90 * kOneSecond, 1e-9) << name;
        again.SaveState(); // a second save while running keeps the total, not doubled
        EXPECT_NEAR(std::stod(Stored("StopWatch1_RunningTotal")), 90 * kOneSecond, 1e-9) << name;
    }
}

TEST_F(MainSettingsTest, AClosingFadeOutKeepsTheVisiblePlaceInTheSettings) {
    TfrmMain& w = Create();
    host.Position = {300, 250};
    EXPECT_FALSE(w.FormClose());
    EXPECT_TRUE(w.FFade.Enabled());
    EXPECT_TRUE(w.FFade.Closing());
    host.Position = {340, 290}; // the shrinking moved the window towards its centre
    host.Visible = false;
    w.ClosingFadeEnded();
    EXPECT_TRUE(w.FormCloseQuery());
    EXPECT_TRUE(w.FormClose()); // the second request goes ahead
    EXPECT_EQ(Stored("NormPos"), "300,250,450,400");
}

// Log-off, shutdown or a close request while the clock waits in the tray or is on its way
// there: the settings keep the place it rests at, not the one by the tray.
TEST_F(MainSettingsTest, ClosingWhileHiddenOrFadingToTheTraySavesTheRestPosition) {
    TfrmMain& w = Create();
    ShowAt(w, {400, 300});
    w.RxTrayIcon1Click({1000, 760}); // hide towards the tray
    FadeSteps(w, 5);
    ASSERT_NE(host.Position.x, 400);
    EXPECT_TRUE(w.FormCloseQuery()); // the session may end while the fade runs
    EXPECT_EQ(Stored("NormPos"), "400,300,550,450");

    FadeSteps(w, 1000);
    host.Visible = false;
    host.Position = {1000, 760};
    EXPECT_TRUE(w.FormCloseQuery());
    EXPECT_EQ(Stored("NormPos"), "400,300,550,450");
    host.Position = {1000, 760};
    EXPECT_TRUE(w.FormClose()); // hidden: closes without an animation, at its rest place
    EXPECT_EQ(Stored("NormPos"), "400,300,550,450");
}

// A double click on the tray icon toggles twice while the first fade runs: the second click
// finds the window half-way to the tray and must not make that its home.
TEST_F(MainSettingsTest, ADoubleClickDuringTheFadeOutKeepsTheRestPlace) {
    TfrmMain& w = Create();
    ShowAt(w, {400, 300});
    w.RxTrayIcon1Click({1000, 760});
    FadeSteps(w, 3);
    ASSERT_NE(host.Position.x, 400);
    w.RxTrayIcon1Click({1000, 760});
    EXPECT_EQ(w.FFade.RestCenter().x, 475);
    EXPECT_EQ(w.FFade.RestCenter().y, 375);
    FadeSteps(w, 1000);
    host.Visible = false;
    w.RxTrayIcon1Click({1000, 760}); // shown again: it grows back to where it stood
    FadeSteps(w, 1000);
    EXPECT_EQ(host.Position.x, 400);
    EXPECT_EQ(host.Position.y, 300);
}

// Alt+F4 pressed again, or a log-off, while the window shrinks as it closes.
TEST_F(MainSettingsTest, ASecondCloseDuringTheClosingFadeSavesTheUnshrunkWindow) {
    TfrmMain& w = Create();
    ShowAt(w, {300, 250});
    EXPECT_FALSE(w.FormClose());
    FadeSteps(w, 5);
    ASSERT_NE(host.Position.x, 300);
    EXPECT_TRUE(w.FormCloseQuery());
    EXPECT_TRUE(w.FormClose()); // already fading out: the close goes ahead
    EXPECT_EQ(Stored("NormPos"), "300,250,450,400");
}

// An update of the zone database adds a zone that sorts before the selected one: the stored
// position now names its neighbour, the stored key name still the selected zone.
TEST_F(MainSettingsTest, TheSelectedZoneIsRestoredByItsKeyNameAfterTheListChanged) {
    AddZone("India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330);
    TfrmMain& w = Create();
    w.FTimeZoneId = zones->IndexOfZoneId("India Standard Time");
    w.FClockLabel = "Delhi";
    w.SaveState();
    EXPECT_EQ(Stored("FTimeZoneId"), "0");
    EXPECT_EQ(Stored("TimeZoneKey"), "India Standard Time");

    AddZone("Nepal Standard Time", "(UTC+05:45) Kathmandu", -345);
    AddZone("Pakistan Standard Time", "(UTC+05:00) Islamabad, Karachi", -300);
    TfrmMain& again = Create();
    EXPECT_EQ(again.FTimeZoneId, 1);
    EXPECT_EQ(zones->ZoneAt(again.FTimeZoneId).Id, "India Standard Time");
    EXPECT_EQ(again.FClockLabel, "Delhi");
    again.SaveState();
    EXPECT_EQ(Stored("FTimeZoneId"), "1");
}

TEST_F(MainSettingsTest, AStoredZoneThatHasGoneShowsTheComputersOwnTime) {
    Plant("FTimeZoneId", "0");
    Plant("TimeZoneKey", "Kyiv Standard Time");
    Plant("TimeZoneKeyFor", "0");
    TfrmMain& w = Create();
    EXPECT_EQ(w.FTimeZoneId, -1);
    EXPECT_EQ(w.ZoneNow(), clock.Now());
    w.SaveState();
    EXPECT_EQ(Stored("TimeZoneKey"), "");
}

// Settings of an older version have the position alone.
TEST_F(MainSettingsTest, WithoutAKeyNameTheStoredPositionStillCounts) {
    AddZone("India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330);
    registry.SetValue(RegistryRoot::CurrentUser, std::string(kMainSettingsPath), "FTimeZoneId",
                      RegistryValueType::String, "1");
    TfrmMain& w = Create();
    EXPECT_EQ(zones->ZoneAt(w.FTimeZoneId).Id, "Tokyo Standard Time");
}

// Starting during minute 0 of a zone half an hour off the computer's own: the computer's
// minute is 30, the restored zone's 0, and nothing chimes.
TEST_F(MainSettingsTest, AStartInMinuteZeroOfARestoredHalfHourZoneDoesNotChime) {
    AddZone("GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0);
    AddZone("India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330);
    clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 30, 10, 0)); // 09:30:10 UTC
    registry.SetValue(RegistryRoot::CurrentUser, std::string(kMainSettingsPath), "TimeZoneKey",
                      RegistryValueType::String, "India Standard Time");
    TfrmMain& w = Create();
    ASSERT_EQ(DecodeTimeParts(w.ZoneNow()).Minute, 0);
    Tick(50);
    EXPECT_EQ(host.Chimes, 0);
}

// Dates written under one regional format read back the same under another.
TEST_F(MainSettingsTest, DatesSavedUnderEnglishRestoreUnderGerman) {
    TfrmMain& w = Create();
    const DateTime target = *EncodeDate(2027, 1, 2) + *EncodeTime(3, 4, 5, 0);
    w.FCountdownTarget = target;
    w.FTimerLength = *EncodeTime(1, 2, 3, 0);
    w.SaveState();
    EXPECT_EQ(Stored("Countdown"), "1/2/2027 3:04:05 AM"); // still written for older versions
    EXPECT_EQ(Stored("CountdownIso"), "2027-01-02T03:04:05");
    EXPECT_EQ(Stored("TimerSeconds"), "3723");

    TfrmMain& german = Create(testing::GermanGermany());
    EXPECT_NEAR(german.FCountdownTarget, target, 1e-9);
    EXPECT_NEAR(german.FTimerLength, *EncodeTime(1, 2, 3, 0), 1e-9);
    german.SaveState();
    EXPECT_EQ(Stored("Countdown"), "02.01.2027 03:04:05");
    EXPECT_EQ(Stored("CountdownIso"), "2027-01-02T03:04:05");
}

// A hand-edited or damaged twin is passed over for the locale text.
TEST_F(MainSettingsTest, AnUnreadableTwinFallsBackToTheLocaleText) {
    Plant("Countdown", "1/2/2027 3:04:05 AM");
    Plant("CountdownIso", "2027-02-30T03:04:05");
    Plant("CountdownIsoFor", "1/2/2027 3:04:05 AM");
    Plant("TimerDate", "12:01:30 AM");
    Plant("TimerSeconds", "-5");
    Plant("TimerSecondsFor", "12:01:30 AM");
    TfrmMain& w = Create();
    EXPECT_NEAR(w.FCountdownTarget, *EncodeDate(2027, 1, 2) + *EncodeTime(3, 4, 5, 0), 1e-9);
    EXPECT_NEAR(w.FTimerLength, 90 * kOneSecond, 1e-9);
    Plant("TimerSeconds", "many");
    EXPECT_NEAR(Create().FTimerLength, 90 * kOneSecond, 1e-9);
    Plant("TimerSeconds", "2.5");
    EXPECT_NEAR(Create().FTimerLength, 2.5 * kOneSecond, 1e-12);
}

// An older version, which knows no twins, ran after this one and wrote other originals: each
// original wins over the twin left from before. A twin written beside the original stored now
// wins, and so does one whose original cannot be read.
TEST_F(MainSettingsTest, ATwinWinsOnlyWhileItsOriginalStillSaysTheSame) {
    AddZone("India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330);
    TfrmMain& w = Create();
    w.FCountdownTarget = *EncodeDate(2027, 1, 2) + *EncodeTime(3, 4, 5, 0);
    w.FTimerLength = *EncodeTime(0, 1, 30, 0);
    w.FTimeZoneId = zones->IndexOfZoneId("India Standard Time");
    w.SaveState();
    EXPECT_EQ(Stored("CountdownIsoFor"), "1/2/2027 3:04:05 AM");
    EXPECT_EQ(Stored("TimerSecondsFor"), Stored("TimerDate"));
    EXPECT_EQ(Stored("TimeZoneKeyFor"), "0");

    Plant("Countdown", "3/4/2028 5:06:07 PM");
    Plant("TimerDate", "12:05:00 AM");
    Plant("FTimeZoneId", "1"); // Tokyo
    TfrmMain& again = Create();
    EXPECT_NEAR(again.FCountdownTarget, *EncodeDate(2028, 3, 4) + *EncodeTime(17, 6, 7, 0), 1e-9);
    EXPECT_NEAR(again.FTimerLength, 5 * 60 * kOneSecond, 1e-9);
    EXPECT_EQ(zones->ZoneAt(again.FTimeZoneId).Id, "Tokyo Standard Time");

    again.SaveState(); // both written together again: the twins count once more
    Plant("Countdown", "not a date");
    Plant("FTimeZoneId", "");
    TfrmMain& third = Create();
    EXPECT_NEAR(third.FCountdownTarget, *EncodeDate(2028, 3, 4) + *EncodeTime(17, 6, 7, 0), 1e-9);
    EXPECT_EQ(zones->ZoneAt(third.FTimeZoneId).Id, "Tokyo Standard Time");
}

TEST_F(MainSettingsTest, TheDesktopMannersAreStoredAndAppliedAtTheNextStart) {
    TfrmMain& w = Create();
    EXPECT_FALSE(w.LockPosition1Checked);
    EXPECT_FALSE(w.ClickThrough1Checked);
    EXPECT_FALSE(w.HideWhenFullScreen1Checked);
    EXPECT_EQ(w.Opacity(), 100);
    EXPECT_FALSE(host.ClickThrough);
    w.LockPosition1Checked = true;
    w.ClickThrough1Checked = true;
    w.HideWhenFullScreen1Checked = true;
    w.SetOpacity(70);
    w.SaveState();
    EXPECT_EQ(Stored("LockPosition1_Checked"), "True");
    EXPECT_EQ(Stored("ClickThrough1_Checked"), "True");
    EXPECT_EQ(Stored("HideWhenFullScreen1_Checked"), "True");
    EXPECT_EQ(Stored("Opacity"), "70");

    host.ClickThrough = false;
    TfrmMain& again = Create();
    EXPECT_TRUE(again.LockPosition1Checked);
    EXPECT_TRUE(again.ClickThrough1Checked);
    EXPECT_TRUE(again.HideWhenFullScreen1Checked);
    EXPECT_EQ(again.Opacity(), 70);
    EXPECT_EQ(again.FFade.Opacity(), 179);
    EXPECT_TRUE(host.ClickThrough); // applied to the window at restore
}

TEST_F(MainSettingsTest, AStoredOpacityNoMenuItemOffersShowsTheClockWhole) {
    for (const char* text : {"0", "5", "150", "-70", "half"}) {
        registry.SetValue(RegistryRoot::CurrentUser, std::string(kMainSettingsPath), "Opacity",
                          RegistryValueType::String, text);
        EXPECT_EQ(Create().Opacity(), 100) << text;
    }
}

} // namespace
} // namespace norvale
