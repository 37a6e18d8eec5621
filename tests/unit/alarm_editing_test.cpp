#include "core/alarms/alarm_editing.h"
#include "support/alarm_testing.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::At;
using testing::DayOf;

TEST(AlarmEditing, ANewAlarmRingsDailyAtTheTimeItWasMadeUnderAFreeName) {
    std::vector<TScheduledAlarm> existing(2);
    existing[0].Alarm.Name = "Alarm 1";
    existing[1].Alarm.Name = "Alarm 3";
    const TAlarm alarm = NewAlarm(At(2026, 12, 8, 7, 30, 15) + 0.4 * kOneSecond, existing);
    EXPECT_EQ(alarm.Name, "Alarm 2");
    EXPECT_EQ(alarm.Rule.TimeOfDay, 7 * 3600 + 30 * 60 + 15);
    EXPECT_TRUE(alarm.Enabled);
    EXPECT_EQ(alarm.Rule.Unit, TEveryUnit::Day);
    EXPECT_EQ(alarm.Rule.Every, 1);
    EXPECT_TRUE(alarm.Rule.Months.All && alarm.Rule.Days.All && alarm.Rule.AllYears);
    EXPECT_EQ(alarm.Sound, "");
    EXPECT_EQ(alarm.SnoozeSeconds, 540);
    EXPECT_EQ(NewAlarm(At(2026, 12, 8), {}).Name, "Alarm 1");
}

TEST(AlarmEditing, ADateStepWithoutAStartDateCountsFromToday) {
    TAlarm alarm = testing::DailyAlarm("Bins", 7, 0);
    const DateTime now = At(2026, 12, 8, 21, 0);
    EXPECT_FALSE(AnchorDateSteps(alarm, now)); // every single day needs no start
    alarm.Rule.Every = 2;
    alarm.Rule.Unit = TEveryUnit::Hour;
    EXPECT_FALSE(AnchorDateSteps(alarm, now));
    alarm.Rule.Unit = TEveryUnit::Week;
    EXPECT_TRUE(AnchorDateSteps(alarm, now));
    EXPECT_EQ(alarm.Rule.Start, DayOf(2026, 12, 8));
    alarm.Rule.Start = DayOf(2026, 1, 1);
    EXPECT_FALSE(AnchorDateSteps(alarm, now));
    EXPECT_EQ(alarm.Rule.Start, DayOf(2026, 1, 1));
}

} // namespace
} // namespace norvale
