#include "core/alarms/alarm_schedule.h"
#include "support/alarm_testing.h"
#include "support/zone_rules.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::At;
using testing::DayOf;
using testing::kLondon;
using testing::Seconds;

TAlarmRule DailyAt(int hour, int minute, int second = 0) {
    TAlarmRule rule;
    rule.TimeOfDay = (hour * 60 + minute) * 60 + second;
    return rule;
}

TAlarmRule EveryMinutesFromMidnight(int minutes) {
    TAlarmRule rule = DailyAt(0, 0);
    rule.Unit = TEveryUnit::Minute;
    rule.Every = minutes;
    return rule;
}

// The next moment in London, to the second; -1 for never.
long long Next(const TAlarmRule& rule, DateTime after) {
    const std::optional<DateTime> next = NextOccurrence(rule, kLondon, after);
    return next ? Seconds(*next) : -1;
}

TEST(AlarmSchedule, GoesOffAtTheNextTimeAfterNowNeverAtNowItself) {
    const TAlarmRule rule = DailyAt(7, 30);
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 7, 29, 59)), Seconds(At(2026, 12, 8, 7, 30)));
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 7, 30)), Seconds(At(2026, 12, 9, 7, 30)));
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 7, 30) + 0.4 * kOneMillisecond),
              Seconds(At(2026, 12, 9, 7, 30)));
    // The last day of the year rolls into the next.
    EXPECT_EQ(Next(rule, At(2026, 12, 31, 8, 0)), Seconds(At(2027, 1, 1, 7, 30)));
}

TEST(AlarmSchedule, ATimeInTheSkippedSpringHourGoesOffWhenTheHourEnds) {
    // 2027-03-28: the clocks go from 01:00 to 02:00.
    const TAlarmRule rule = DailyAt(1, 30);
    EXPECT_EQ(Next(rule, At(2027, 3, 27, 12, 0)), Seconds(At(2027, 3, 28, 2, 0)));
    EXPECT_EQ(Next(rule, At(2027, 3, 28, 2, 0)), Seconds(At(2027, 3, 29, 1, 30)));
    // Every ten minutes through the night: the skipped ones all go off at 02:00, once.
    const TAlarmRule often = EveryMinutesFromMidnight(10);
    EXPECT_EQ(Next(often, At(2027, 3, 28, 0, 55)), Seconds(At(2027, 3, 28, 2, 0)));
    EXPECT_EQ(Next(often, At(2027, 3, 28, 2, 0)), Seconds(At(2027, 3, 28, 2, 10)));
}

TEST(AlarmSchedule, ATimeInTheRepeatedAutumnHourGoesOffOnce) {
    // 2027-10-31: the clocks go from 02:00 back to 01:00.
    const TAlarmRule rule = DailyAt(1, 30);
    EXPECT_EQ(Next(rule, At(2027, 10, 31, 0, 0)), Seconds(At(2027, 10, 31, 1, 30)));
    // Seen again in the second pass, it is already behind: tomorrow's comes next.
    EXPECT_EQ(Next(rule, At(2027, 10, 31, 1, 30)), Seconds(At(2027, 11, 1, 1, 30)));
    EXPECT_EQ(Next(EveryMinutesFromMidnight(15), At(2027, 10, 31, 1, 45)),
              Seconds(At(2027, 10, 31, 2, 0)));
}

TEST(AlarmSchedule, FebruaryTheTwentyNinthComesInLeapYearsOnly) {
    TAlarmRule rule = DailyAt(9, 0);
    rule.Months = TValueSet::Only({2});
    rule.Days = TValueSet::Only({29});
    EXPECT_EQ(Next(rule, At(2026, 3, 1)), Seconds(At(2028, 2, 29, 9, 0)));
    rule.AllYears = false;
    rule.Years = {2026, 2027, 2029, 2030};
    EXPECT_EQ(Next(rule, At(2026, 3, 1)), -1);
}

TEST(AlarmSchedule, TheLastWeekIsTheMonthsLastSevenDays) {
    TAlarmRule rule = DailyAt(18, 0);
    rule.Weeks = TValueSet::Only({kLastWeek});
    rule.WeekDays = TValueSet::Only({6}); // Friday
    EXPECT_EQ(Next(rule, At(2026, 12, 1)), Seconds(At(2026, 12, 25, 18, 0)));
    // February 2027 has 28 days: its fourth Friday (the 26th) is also its last.
    rule.Weeks = TValueSet::Only({4});
    EXPECT_EQ(Next(rule, At(2027, 2, 1)), Seconds(At(2027, 2, 26, 18, 0)));
    // Days 29 to 31 belong to no numbered week.
    rule.WeekDays = {};
    rule.Days = TValueSet::Only({29, 30, 31});
    EXPECT_EQ(Next(rule, At(2027, 1, 1)), -1);
}

TEST(AlarmSchedule, DayThirtyOneSkipsTheShortMonths) {
    TAlarmRule rule = DailyAt(12, 0);
    rule.Days = TValueSet::Only({31});
    EXPECT_EQ(Next(rule, At(2026, 4, 1)), Seconds(At(2026, 5, 31, 12, 0)));
    EXPECT_EQ(Next(rule, At(2026, 5, 31, 13, 0)), Seconds(At(2026, 7, 31, 12, 0)));
    rule.Months = TValueSet::Only({2, 4, 6, 9, 11});
    EXPECT_EQ(Next(rule, At(2026, 4, 1)), -1);
}

TEST(AlarmSchedule, StartAndEndDatesBoundTheDays) {
    TAlarmRule rule = DailyAt(8, 0);
    rule.Start = DayOf(2026, 12, 20);
    rule.End = DayOf(2026, 12, 24);
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), Seconds(At(2026, 12, 20, 8, 0)));
    EXPECT_EQ(Next(rule, At(2026, 12, 24, 7, 0)), Seconds(At(2026, 12, 24, 8, 0)));
    EXPECT_EQ(Next(rule, At(2026, 12, 24, 8, 0)), -1);
    // An end before the start allows nothing.
    rule.End = DayOf(2026, 12, 19);
    EXPECT_TRUE(ObviouslyNever(rule));
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), -1);
}

TEST(AlarmSchedule, ARuleThatCanNeverMatchHasNoNextMoment) {
    TAlarmRule rule = DailyAt(8, 0);
    rule.Months = TValueSet::Only({2});
    rule.Days = TValueSet::Only({30});
    EXPECT_FALSE(ObviouslyNever(rule)); // found by the search
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), -1);
    rule.Days = TValueSet::Only({});
    EXPECT_TRUE(ObviouslyNever(rule));
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), -1);
    // Years that are all past.
    TAlarmRule past = DailyAt(8, 0);
    past.AllYears = false;
    past.Years = {2020, 2025};
    EXPECT_EQ(Next(past, At(2026, 12, 8)), -1);
}

TEST(AlarmSchedule, DateStepsCountFromTheStartDate) {
    TAlarmRule rule = DailyAt(7, 0);
    rule.Start = DayOf(2026, 12, 9);      // a Wednesday
    rule.WeekDays = TValueSet::Only({2}); // Monday
    rule.Every = 2;
    // Calendar weeks from Sunday 6 December: the Monday of that week is before the start,
    // the week after is not counted, so the Monday of the third week.
    rule.Unit = TEveryUnit::Week;
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), Seconds(At(2026, 12, 21, 7, 0)));
    // Every second Monday from the start: the first Monday after it.
    rule.Unit = TEveryUnit::DayOfWeek;
    EXPECT_EQ(Next(rule, At(2026, 12, 8)), Seconds(At(2026, 12, 14, 7, 0)));
    EXPECT_EQ(Next(rule, At(2026, 12, 14, 8, 0)), Seconds(At(2026, 12, 28, 7, 0)));
    rule.WeekDays = {};
    rule.Unit = TEveryUnit::Day;
    rule.Every = 3;
    EXPECT_EQ(Next(rule, At(2026, 12, 9, 8, 0)), Seconds(At(2026, 12, 12, 7, 0)));
    rule.Unit = TEveryUnit::Month;
    EXPECT_EQ(Next(rule, At(2026, 12, 31, 8, 0)), Seconds(At(2027, 3, 1, 7, 0)));
    rule.Unit = TEveryUnit::Year;
    EXPECT_EQ(Next(rule, At(2026, 12, 31, 8, 0)), Seconds(At(2029, 1, 1, 7, 0)));
}

TEST(AlarmSchedule, TimeStepsRepeatWithinTheDayFromTheTime) {
    TAlarmRule rule = DailyAt(7, 0);
    rule.Unit = TEveryUnit::Hour;
    rule.Every = 5;
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 6, 0)), Seconds(At(2026, 12, 8, 7, 0)));
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 12, 0)), Seconds(At(2026, 12, 8, 17, 0)));
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 22, 0)), Seconds(At(2026, 12, 9, 7, 0)));
    rule = DailyAt(23, 59);
    rule.Unit = TEveryUnit::Second;
    rule.Every = 20;
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 23, 59, 20)), Seconds(At(2026, 12, 8, 23, 59, 40)));
    EXPECT_EQ(Next(rule, At(2026, 12, 8, 23, 59, 40)), Seconds(At(2026, 12, 9, 23, 59)));
}

} // namespace
} // namespace norvale
