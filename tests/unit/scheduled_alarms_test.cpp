// The Alarms window's alarms in the running clock: how they go off, sound, are dismissed and
// snoozed, wait for each other, are caught up after a sleep or at start, and are kept.

#include "core/alarms/alarm_store.h"
#include "support/alarm_testing.h"
#include "support/clock_window_fixture.h"
#include "support/zone_rules.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::At;
using testing::DailyAlarm;

class ScheduledAlarmsTest : public testing::ClockWindowTest {
protected:
    TfrmMain& StartWithServices() {
        TfrmMain& w = Start();
        w.ConnectServices({nullptr, nullptr, &registry});
        return w;
    }

    std::string Title() const { return window->Skin()->LabelRasters[lTitle].Text(); }

    // Ticks until the clock reads `until`, 100 ms at a time.
    void TickUntil(DateTime until) {
        while (clock.Now() < until) {
            Tick();
        }
        Tick();
    }
};

TEST_F(ScheduledAlarmsTest, AnAlarmBringsTheClockBackSoundsAndShowsItsName) {
    TfrmMain& w = Start();
    TAlarm tea = DailyAlarm("Tea", 11, 0);
    tea.Sound = "C:\\Music\\kettle.mp3";
    w.Alarms.Add(tea, clock.Now());
    host.Visible = false;
    TickUntil(At(2026, 12, 7, 10, 59, 59));
    EXPECT_EQ(host.Shown, 0);
    TickUntil(At(2026, 12, 7, 11, 0));
    EXPECT_EQ(host.Shown, 1);
    EXPECT_TRUE(w.FFade.Enabled()); // it fades and zooms in
    EXPECT_EQ(host.AlarmSounds, std::vector<std::string>{"C:\\Music\\kettle.mp3"});
    EXPECT_TRUE(w.AlarmSounding());
    EXPECT_EQ(Title(), "Tea");
    EXPECT_EQ(w.FClockType, ctClock); // the mode stays

    // A press on the face dismisses it; the title is the mode's again.
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    EXPECT_FALSE(host.Beeping);
    EXPECT_FALSE(w.AlarmSounding());
    EXPECT_EQ(Title(), "Time");
    TickUntil(At(2026, 12, 8, 10, 59, 59));
    EXPECT_EQ(host.AlarmSounds.size(), 1u);
}

TEST_F(ScheduledAlarmsTest, SnoozeBringsItBackAfterItsLengthAndARightPressDoesNotDismiss) {
    TfrmMain& w = Start();
    TAlarm tea = DailyAlarm("Tea", 11, 0);
    tea.SnoozeSeconds = 5;
    w.Alarms.Add(tea, clock.Now());
    TickUntil(At(2026, 12, 7, 11, 0));
    ASSERT_TRUE(w.AlarmSounding());
    // The right button opens the menu, where Snooze is.
    w.FormMouseDown(TMouseButton::mbRight, 75, 140);
    EXPECT_TRUE(host.Beeping);
    clock.AdvanceSeconds(1);
    const DateTime snoozed = clock.Now();
    w.Snooze1Click();
    EXPECT_FALSE(host.Beeping);
    EXPECT_FALSE(w.AlarmSounding());
    const DateTime back = *DueMoment(w.Alarms.Alarms()[0]);
    EXPECT_NEAR(back, snoozed + 5 * kOneSecond, kOneMillisecond);
    EXPECT_NE(host.TrayHint.find("Tea Mon 12/7/2026 11:00:06 AM"), std::string::npos)
        << host.TrayHint;
    TickUntil(back - 0.2 * kOneSecond);
    EXPECT_EQ(host.AlarmSounds.size(), 1u);
    TickUntil(back);
    EXPECT_EQ(host.AlarmSounds.size(), 2u);
    EXPECT_TRUE(w.AlarmSounding());
    // Snooze without an alarm of the window sounding does nothing.
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    host.Beeping = true; // the countdown's beep
    w.Snooze1Click();
    EXPECT_TRUE(host.Beeping);
}

TEST_F(ScheduledAlarmsTest, RemovingTheSoundingAlarmTakesItsNameOffTheFace) {
    TfrmMain& w = StartWithServices();
    w.AddAlarm(DailyAlarm("Tea", 11, 0));
    TickUntil(At(2026, 12, 7, 11, 0));
    ASSERT_EQ(Title(), "Tea");
    w.RemoveAlarm(0);
    Tick();
    EXPECT_EQ(Title(), "Time");
    EXPECT_TRUE(host.Beeping); // until a press on the face, as any alarm
    EXPECT_FALSE(
        registry.KeyExists(RegistryRoot::CurrentUser, std::string(kAlarmsKeyPath) + "\\1"));
}

TEST_F(ScheduledAlarmsTest, AlarmsDueTogetherSoundOneAfterAnother) {
    TfrmMain& w = Start();
    TAlarm first = DailyAlarm("First", 11, 0);
    TAlarm second = DailyAlarm("Second", 11, 0);
    second.Sound = "D:\\second.wav";
    w.Alarms.Add(first, clock.Now());
    w.Alarms.Add(second, clock.Now());
    TickUntil(At(2026, 12, 7, 11, 0));
    Tick(20);
    EXPECT_EQ(host.AlarmSounds, std::vector<std::string>{""});
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    Tick();
    EXPECT_EQ(host.AlarmSounds, (std::vector<std::string>{"", "D:\\second.wav"}));
    EXPECT_EQ(w.Alarms.Sounding()->Name, "Second");
}

TEST_F(ScheduledAlarmsTest, AnAlarmWaitsForTheCountdownsBeep) {
    TfrmMain& w = Start();
    w.Alarms.Add(DailyAlarm("Tea", 11, 0), clock.Now());
    w.FCountdownTarget = At(2026, 12, 7, 11, 0);
    TickUntil(At(2026, 12, 7, 11, 0, 1));
    EXPECT_EQ(host.Beeps, 1);
    EXPECT_TRUE(host.AlarmSounds.empty());
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    Tick();
    EXPECT_EQ(host.AlarmSounds.size(), 1u);
}

TEST_F(ScheduledAlarmsTest, AfterEightHoursOfSleepOnlyTheAlarmLessThanAnHourLateGoesOff) {
    TfrmMain& w = Start();
    w.Alarms.Add(DailyAlarm("Seven hours late", 12, 0), clock.Now());
    w.Alarms.Add(DailyAlarm("Half an hour late", 18, 28), clock.Now());
    Tick();
    clock.AdvanceSeconds(8 * 3600); // asleep: no tick from 10:58 to 18:58
    Tick(30);
    ASSERT_EQ(host.AlarmSounds.size(), 1u);
    EXPECT_EQ(w.Alarms.Sounding()->Name, "Half an hour late");
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    Tick(30);
    EXPECT_EQ(host.AlarmSounds.size(), 1u);
    EXPECT_EQ(w.Alarms.Alarms()[0].Next, At(2026, 12, 8, 12, 0));
}

TEST_F(ScheduledAlarmsTest, ASetClockTakesEveryMomentAfreshAndCatchesWhatItPassed) {
    TfrmMain& w = Start();
    w.Alarms.Add(DailyAlarm("Tea", 11, 0), clock.Now());
    w.Alarms.Add(DailyAlarm("Lunch", 11, 40), clock.Now());
    TickUntil(At(2026, 12, 7, 11, 0));
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    EXPECT_EQ(w.Alarms.Alarms()[0].Next, At(2026, 12, 8, 11, 0));
    // Set back half an hour: Tea's time comes again today, not a day late.
    clock.Set(At(2026, 12, 7, 10, 30, 0));
    Tick();
    EXPECT_EQ(w.Alarms.Alarms()[0].Next, At(2026, 12, 7, 11, 0));
    TickUntil(At(2026, 12, 7, 11, 0));
    EXPECT_EQ(host.AlarmSounds.size(), 2u);
    w.FormMouseDown(TMouseButton::mbLeft, 75, 140);
    // Set forward past Lunch by twenty minutes: it goes off at once, once.
    clock.Set(At(2026, 12, 7, 12, 0, 0));
    Tick(20);
    EXPECT_EQ(host.AlarmSounds.size(), 3u);
    EXPECT_EQ(w.Alarms.Sounding()->Name, "Lunch");
}

TEST_F(ScheduledAlarmsTest, ANoticeOfChangedZoneRulesTakesTheMomentsAfresh) {
    clock.Set(At(2027, 3, 27, 23, 0));
    TfrmMain& w = Start();
    w.Alarms.Add(DailyAlarm("Night", 1, 30), clock.Now());
    Tick();
    // The zone's rules gain daylight saving, and 2027-03-28 01:30 no longer exists.
    clock.Zone = testing::kLondon;
    w.TimeChanged();
    EXPECT_EQ(w.Alarms.Alarms()[0].Next, At(2027, 3, 28, 2, 0));
    EXPECT_NE(host.TrayHint.find("Night Sun 3/28/2027 2:00:00 AM"), std::string::npos);
}

TEST_F(ScheduledAlarmsTest, StoredAlarmsAreLoadedCaughtUpAtStartAndSavedWithTheSettings) {
    TfrmMain& w = StartWithServices();
    // Stored by a clock that ended at 10:30: its 10:40 alarm was missed by twenty minutes.
    TScheduledAlarm missed;
    missed.Alarm = DailyAlarm("Missed", 10, 40);
    missed.Next = At(2026, 12, 7, 10, 40);
    WriteStoredAlarms(registry, {missed}, {});
    registry.SetValue(RegistryRoot::CurrentUser, std::string(kAlarmsKeyPath) + "\\7", "Time",
                      RegistryValueType::String, "25:00:00");
    const std::string report = w.LoadAlarms();
    EXPECT_NE(report.find("\"Alarms\\7\" cannot be read"), std::string::npos) << report;
    ASSERT_EQ(w.Alarms.Alarms().size(), 1u);
    Tick();
    EXPECT_EQ(host.AlarmSounds.size(), 1u);
    EXPECT_NE(host.TrayHint.find("Missed Tue 12/8/2026 10:40:00 AM"), std::string::npos);

    // The window adds one; the save keeps the unreadable alarm and the pending moments.
    w.AddAlarm(DailyAlarm("Lunch", 12, 30));
    EXPECT_NE(host.TrayHint.find("Lunch"), std::string::npos);
    const TStoredAlarms stored = ReadStoredAlarms(registry);
    ASSERT_EQ(stored.Alarms.size(), 2u);
    EXPECT_EQ(stored.Alarms[0].Next, At(2026, 12, 8, 10, 40));
    EXPECT_EQ(stored.Alarms[1].Alarm.Name, "Lunch");
    EXPECT_EQ(stored.Alarms[1].Key, "8");
    EXPECT_EQ(stored.Unreadable, std::vector<std::string>{"7"});
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(ScheduledAlarmsTest, AFailedSaveOfTheAlarmsIsReportedOnce) {
    TfrmMain& w = StartWithServices();
    registry.FailWrites = true;
    w.AddAlarm(DailyAlarm("Tea", 11, 0));
    w.ChangeAlarm(0, DailyAlarm("Tea", 11, 5));
    ASSERT_EQ(host.Errors.size(), 1u);
    // The alarm works all the same.
    EXPECT_EQ(w.Alarms.Alarms()[0].Next, At(2026, 12, 7, 11, 5));
}

} // namespace
} // namespace norvale
