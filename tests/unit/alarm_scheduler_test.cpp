#include "core/alarms/alarm_display.h"
#include "core/alarms/alarm_scheduler.h"
#include "core/shell/tray_icon.h"
#include "support/alarm_testing.h"
#include "support/fake_clock.h"
#include "support/zone_rules.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::At;
using testing::DailyAlarm;

// The scheduler on a computer in London, on a Monday morning.
class AlarmSchedulerTest : public ::testing::Test {
protected:
    AlarmSchedulerTest() { clock.Zone = testing::kLondon; }

    // The names of the alarms that sound, one after another, each dismissed at once.
    std::vector<std::string> SoundAll() {
        std::vector<std::string> names;
        while (const TAlarm* alarm = alarms.SoundNext()) {
            names.push_back(alarm->Name);
            alarms.Dismiss();
        }
        return names;
    }

    // The monotonic count at a local time, when the wall clock ran on with it.
    static std::int64_t Count(DateTime t) {
        return std::llround((t - At(2026, 12, 1)) * kMillisecondsPerDay);
    }
    bool Due(DateTime t) const { return alarms.Due(t, Count(t)); }
    void Collect(DateTime t) { alarms.CollectDue(t, Count(t)); }

    testing::FakeClock clock;
    TAlarmScheduler alarms{clock};
    DateTime now = At(2026, 12, 7, 6, 0);
};

TEST_F(AlarmSchedulerTest, IsDueOnlyFromTheEarliestMomentOn) {
    alarms.Add(DailyAlarm("Late", 8, 0), now);
    alarms.Add(DailyAlarm("Early", 7, 0), now);
    EXPECT_FALSE(Due(At(2026, 12, 7, 6, 59, 59)));
    EXPECT_TRUE(Due(At(2026, 12, 7, 7, 0)));
    Collect(At(2026, 12, 7, 7, 0));
    EXPECT_EQ(alarms.Alarms()[1].Next, At(2026, 12, 8, 7, 0));
    EXPECT_FALSE(Due(At(2026, 12, 7, 7, 59, 59)));
    EXPECT_EQ(SoundAll(), std::vector<std::string>{"Early"});
    // Nothing enabled: never due.
    TAlarm off = DailyAlarm("Off", 6, 30);
    off.Enabled = false;
    TAlarmScheduler quiet(clock);
    quiet.Add(off, now);
    EXPECT_FALSE(quiet.Due(At(2030, 1, 1), Count(At(2030, 1, 1))));
    EXPECT_EQ(quiet.Upcoming(), nullptr);
}

TEST_F(AlarmSchedulerTest, AlarmsDueTogetherSoundOneAfterAnotherInTheOrderOfTheirMoments) {
    alarms.Add(DailyAlarm("Second", 7, 0, 1), now);
    alarms.Add(DailyAlarm("First A", 7, 0), now);
    alarms.Add(DailyAlarm("First B", 7, 0), now);
    Collect(At(2026, 12, 7, 7, 0, 2));
    const TAlarm* sounding = alarms.SoundNext();
    ASSERT_NE(sounding, nullptr);
    EXPECT_EQ(sounding->Name, "First A");
    // While one sounds the others wait; the one that sounds is the one asked about.
    EXPECT_TRUE(alarms.HasQueued());
    EXPECT_EQ(alarms.Sounding(), sounding);
    alarms.Dismiss();
    EXPECT_EQ(alarms.Sounding(), nullptr);
    EXPECT_EQ(SoundAll(), (std::vector<std::string>{"First B", "Second"}));
}

TEST_F(AlarmSchedulerTest, AnAlarmIsNeverQueuedTwice) {
    TAlarm often = DailyAlarm("Often", 6, 0);
    often.Rule.Unit = TEveryUnit::Minute;
    alarms.Add(often, now);
    Collect(At(2026, 12, 7, 6, 1));
    ASSERT_NE(alarms.SoundNext(), nullptr);
    // It sounds on through the next minutes: those pass, and it comes again after them.
    Collect(At(2026, 12, 7, 6, 2));
    Collect(At(2026, 12, 7, 6, 3, 30));
    EXPECT_FALSE(alarms.HasQueued());
    alarms.Dismiss();
    EXPECT_EQ(alarms.Alarms()[0].Next, At(2026, 12, 7, 6, 4));
}

TEST_F(AlarmSchedulerTest, SnoozeBringsTheAlarmBackAfterItsLength) {
    TAlarm tea = DailyAlarm("Tea", 7, 0);
    tea.SnoozeSeconds = 5;
    alarms.Add(tea, now);
    Collect(At(2026, 12, 7, 7, 0));
    alarms.SoundNext();
    alarms.Snooze(At(2026, 12, 7, 7, 0, 3), Count(At(2026, 12, 7, 7, 0, 3)));
    EXPECT_EQ(alarms.Sounding(), nullptr);
    EXPECT_EQ(alarms.Upcoming(), &alarms.Alarms()[0]);
    EXPECT_EQ(DueMoment(alarms.Alarms()[0]), At(2026, 12, 7, 7, 0, 8));
    EXPECT_FALSE(Due(At(2026, 12, 7, 7, 0, 7)));
    EXPECT_TRUE(Due(At(2026, 12, 7, 7, 0, 8)));
    Collect(At(2026, 12, 7, 7, 0, 8));
    EXPECT_EQ(SoundAll(), std::vector<std::string>{"Tea"});
    EXPECT_EQ(alarms.Alarms()[0].SnoozedUntil, std::nullopt);
    EXPECT_EQ(DueMoment(alarms.Alarms()[0]), At(2026, 12, 8, 7, 0));
}

TEST_F(AlarmSchedulerTest, AfterEightHoursOfSleepOnlyAlarmsLessThanAnHourLateGoOff) {
    alarms.Add(DailyAlarm("Skipped", 7, 0), now);
    alarms.Add(DailyAlarm("Caught", 13, 20), now);
    TAlarm often = DailyAlarm("Every minute", 0, 0);
    often.Rule.Unit = TEveryUnit::Minute;
    alarms.Add(often, now);
    // Asleep from 06:00 to 14:00.
    const DateTime wake = At(2026, 12, 7, 14, 0);
    ASSERT_TRUE(Due(wake));
    Collect(wake);
    // The minute alarm missed 480 times goes off once, first in line for its 13:01.
    EXPECT_EQ(SoundAll(), (std::vector<std::string>{"Every minute", "Caught"}));
    EXPECT_EQ(alarms.Alarms()[0].Next, At(2026, 12, 8, 7, 0));
    EXPECT_EQ(alarms.Alarms()[1].Next, At(2026, 12, 8, 13, 20));
    EXPECT_EQ(alarms.Alarms()[2].Next, At(2026, 12, 7, 14, 1));
}

TEST_F(AlarmSchedulerTest, ThePendingMomentsStoredAtTheEndCountAsMissedAtStart) {
    std::vector<TScheduledAlarm> stored(3);
    stored[0].Alarm = DailyAlarm("Twenty minutes late", 5, 40);
    stored[0].Next = At(2026, 12, 7, 5, 40);
    stored[1].Alarm = DailyAlarm("Two hours late", 4, 0);
    stored[1].Next = At(2026, 12, 7, 4, 0);
    // A pending moment still ahead is taken afresh: the clock was set back meanwhile.
    stored[2].Alarm = DailyAlarm("Ahead", 9, 0);
    stored[2].Next = At(2027, 6, 1, 9, 0);
    alarms.Load(stored, now);
    EXPECT_EQ(alarms.Alarms()[2].Next, At(2026, 12, 7, 9, 0));
    ASSERT_TRUE(Due(now));
    Collect(now);
    EXPECT_EQ(SoundAll(), std::vector<std::string>{"Twenty minutes late"});
    EXPECT_EQ(alarms.Alarms()[1].Next, At(2026, 12, 8, 4, 0));
}

TEST_F(AlarmSchedulerTest, LatenessIsRealTimeAcrossTheNightTheClocksGoBack) {
    // 00:30 in summer time; at 01:20 winter time, after the repeated hour, an hour and fifty
    // minutes have passed although the wall clock says fifty.
    alarms.Add(DailyAlarm("Night", 0, 30), At(2027, 10, 30, 23, 0));
    Collect(At(2027, 10, 31, 1, 20));
    EXPECT_FALSE(alarms.HasQueued());
    alarms.Remove(0);
    alarms.Add(DailyAlarm("Night again", 0, 30), At(2027, 10, 31, 23, 0));
    Collect(At(2027, 11, 1, 1, 20));
    EXPECT_EQ(SoundAll(), (std::vector<std::string>{"Night again"}));
}

TEST_F(AlarmSchedulerTest, ChangesRescheduleAndRemovalsLeaveTheQueue) {
    alarms.Add(DailyAlarm("A", 7, 0), now);
    alarms.Add(DailyAlarm("B", 7, 0), now);
    Collect(At(2026, 12, 7, 7, 0));
    alarms.SoundNext();
    alarms.Remove(1); // B, queued
    EXPECT_FALSE(alarms.HasQueued());
    alarms.Snooze(At(2026, 12, 7, 7, 0, 5), Count(At(2026, 12, 7, 7, 0, 5)));
    TAlarm later = DailyAlarm("A", 20, 0);
    alarms.Change(0, later, At(2026, 12, 7, 7, 1));
    EXPECT_EQ(alarms.Alarms()[0].SnoozedUntil, std::nullopt);
    EXPECT_EQ(alarms.Alarms()[0].Next, At(2026, 12, 7, 20, 0));
    later.Enabled = false;
    alarms.Change(0, later, At(2026, 12, 7, 7, 1));
    EXPECT_EQ(alarms.Alarms()[0].Next, std::nullopt);
    alarms.Remove(0);
    EXPECT_TRUE(alarms.Alarms().empty());
}

TEST_F(AlarmSchedulerTest, ASetClockCollectsWhatItPassedAndTakesEveryMomentAfresh) {
    alarms.Add(DailyAlarm("Passed", 6, 30), now);
    alarms.Add(DailyAlarm("Breakfast", 8, 0), now);
    // Forward by 45 minutes: 06:30 was passed less than an hour ago.
    alarms.Reschedule(At(2026, 12, 7, 6, 45), Count(At(2026, 12, 7, 6, 45)));
    EXPECT_EQ(SoundAll(), std::vector<std::string>{"Passed"});
    // Back by a day: tomorrow's moments would be a day late.
    Collect(At(2026, 12, 7, 8, 0));
    SoundAll();
    alarms.Reschedule(At(2026, 12, 6, 9, 0), Count(At(2026, 12, 7, 8, 0, 1)));
    EXPECT_EQ(alarms.Alarms()[0].Next, At(2026, 12, 7, 6, 30));
    EXPECT_EQ(alarms.Alarms()[1].Next, At(2026, 12, 7, 8, 0));
}

TEST_F(AlarmSchedulerTest, ASnoozeLastsItsLengthWhateverTheClockDoes) {
    alarms.Add(DailyAlarm("Tea", 7, 0), now);
    Collect(At(2026, 12, 7, 7, 0));
    alarms.SoundNext();
    const std::int64_t snoozed = Count(At(2026, 12, 7, 7, 0));
    alarms.Snooze(At(2026, 12, 7, 7, 0), snoozed);
    // Two minutes on, the clock is set back an hour.
    const std::int64_t later = snoozed + 120'000;
    alarms.Reschedule(At(2026, 12, 7, 6, 2), later);
    EXPECT_EQ(alarms.Alarms()[0].SnoozedUntil, At(2026, 12, 7, 6, 9));
    EXPECT_FALSE(alarms.Due(At(2026, 12, 7, 6, 8, 59), snoozed + 539'999));
    EXPECT_TRUE(alarms.Due(At(2026, 12, 7, 6, 9), snoozed + 540'000));
    alarms.CollectDue(At(2026, 12, 7, 6, 9), snoozed + 540'000);
    EXPECT_EQ(SoundAll(), std::vector<std::string>{"Tea"});
    // A snooze slept through for more than the missed window is skipped.
    alarms.Add(DailyAlarm("Coffee", 6, 10), now);
    alarms.CollectDue(At(2026, 12, 7, 6, 10), snoozed + 600'000);
    alarms.SoundNext();
    alarms.Snooze(At(2026, 12, 7, 6, 10), snoozed + 600'000);
    alarms.CollectDue(At(2026, 12, 7, 8, 0), snoozed + 600'000 + 2 * 3'600'000);
    EXPECT_TRUE(SoundAll().empty());
    EXPECT_EQ(alarms.Alarms()[1].SnoozedUntil, std::nullopt);
}

TEST_F(AlarmSchedulerTest, TheTrayTipNamesTheAlarmThatComesFirstWithinItsLength) {
    const FormatSettings fs = FormatSettings::EnglishUnitedStates();
    EXPECT_EQ(TrayHintWithAlarm(nullptr, fs), "Norvale Time Clock");
    alarms.Add(DailyAlarm("Later", 9, 0), now);
    alarms.Add(DailyAlarm("Tea|time", 7, 30), now);
    EXPECT_EQ(TrayHintWithAlarm(alarms.Upcoming(), fs),
              "Norvale Time Clock\nTea/time Mon 12/7/2026 7:30:00 AM");
    alarms.Change(1, DailyAlarm("A very long name for an alarm that goes on", 7, 30), now);
    const std::string hint = TrayHintWithAlarm(alarms.Upcoming(), fs);
    EXPECT_EQ(hint, "Norvale Time Clock\nA very long name... Mon 12/7/2026 7:30:00 AM");
    EXPECT_EQ(hint.size(), kTrayTipCharacters);
    alarms.Change(1, DailyAlarm("  ", 7, 30), now);
    EXPECT_EQ(NextAlarmText(alarms.Alarms()[1], fs), "Mon 12/7/2026 7:30:00 AM");
    EXPECT_EQ(AlarmTitle(alarms.Alarms()[1].Alarm), "Alarm");
    TAlarm never = DailyAlarm("Never", 7, 0);
    never.Rule.Months = TValueSet::Only({});
    alarms.Change(1, never, now);
    EXPECT_EQ(NextAlarmText(alarms.Alarms()[1], fs), "never");
    never.Enabled = false;
    alarms.Change(1, never, now);
    EXPECT_EQ(NextAlarmText(alarms.Alarms()[1], fs), "off");
}

} // namespace
} // namespace norvale
