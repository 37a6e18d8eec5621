#include "core/time/calendar.h"
#include "core/timezone/zone_conversion.h"
#include "support/zone_rules.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::kLondon;
using testing::kSydney;
using testing::Rule;
using testing::Zone;

constexpr DateTime kHalfTenthMs = 0.05 * kOneMillisecond;
// Dates of these years keep about 10 microseconds in a double; results differ by minutes.
constexpr DateTime kTolerance = 1e-8;

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
            int ms = 0) {
    return *EncodeDate(year, month, day) + *EncodeTime(hour, minute, second, ms);
}

TEST(NthWeekdayOfMonth, CountsFromTheFirstOrBackFromTheLastDay) {
    EXPECT_EQ(NthWeekdayOfMonth(2026, 2, 5, 1), At(2026, 2, 22)); // 28-day February
    EXPECT_EQ(NthWeekdayOfMonth(2024, 2, 5, 5), At(2024, 2, 29)); // leap day is a Thursday
    EXPECT_EQ(NthWeekdayOfMonth(2026, 10, 1, 1), At(2026, 10, 4));
    EXPECT_EQ(NthWeekdayOfMonth(2026, 10, 4, 1), At(2026, 10, 25));
    EXPECT_EQ(NthWeekdayOfMonth(2026, 10, 1, 5), At(2026, 10, 1)); // the first day itself
    EXPECT_EQ(NthWeekdayOfMonth(2026, 5, 5, 1), At(2026, 5, 31));  // the last day itself
    EXPECT_EQ(NthWeekdayOfMonth(2026, 3, 0, 1), 0.0);
    EXPECT_EQ(NthWeekdayOfMonth(2026, 3, 6, 1), 0.0);
    EXPECT_EQ(NthWeekdayOfMonth(2026, 13, 1, 1), std::nullopt);
    // Weekday 8 is a day past Saturday: the fourth one of February 2026 would be the 29th.
    EXPECT_EQ(NthWeekdayOfMonth(2026, 2, 4, 8), std::nullopt);
}

TEST(TransitionTime, ReadsWeekdayAndAbsoluteRules) {
    EXPECT_EQ(TransitionTime(Rule(0, 0, 5, 2), 2026), 0.0);
    EXPECT_NEAR(*TransitionTime(Rule(3, 0, 5, 1), 2026), At(2026, 3, 29, 1), kTolerance);
    // An absolute date is the same whatever year is asked for.
    EXPECT_NEAR(*TransitionTime(Rule(3, 0, 11, 2, 2007), 2026), At(2007, 3, 11, 2), kTolerance);
    // wDay 0 in weekday form gives the origin plus the time of day.
    EXPECT_NEAR(*TransitionTime(Rule(3, 0, 0, 2), 2026), 2.0 / 24, kTolerance);
    SYSTEMTIME late = Rule(10, 0, 5, 23);
    late.wMinute = 59;
    late.wSecond = 59;
    late.wMilliseconds = 999;
    EXPECT_NEAR(*TransitionTime(late, 2026), At(2026, 10, 25, 23, 59, 59, 999), kTolerance);
}

TEST(TransitionTime, ReportsADateOrTimeThatDoesNotExist) {
    EXPECT_EQ(TransitionTime(Rule(10, 0, 5, 24), 2026), std::nullopt);
    EXPECT_EQ(TransitionTime(Rule(13, 0, 1, 2), 2026), std::nullopt);
    EXPECT_EQ(TransitionTime(Rule(2, 0, 30, 2, 2026), 2026), std::nullopt);
    SYSTEMTIME rule = Rule(3, 0, 5, 1);
    rule.wMinute = 60;
    EXPECT_EQ(TransitionTime(rule, 2026), std::nullopt);
    rule = Rule(3, 0, 5, 1);
    rule.wMilliseconds = 1000;
    EXPECT_EQ(TransitionTime(rule, 2026), std::nullopt);
}

TEST(GetDaylightTransitions, GivesBothStartsAndBiasTotals) {
    DaylightTransitions rules;
    ASSERT_TRUE(GetDaylightTransitions(kSydney, 2026, rules));
    EXPECT_NEAR(rules.DaylightStart, At(2026, 10, 4, 2), kTolerance);
    EXPECT_NEAR(rules.StandardStart, At(2026, 4, 5, 3), kTolerance);
    EXPECT_EQ(rules.DaylightBiasTotal, -660);
    EXPECT_EQ(rules.StandardBiasTotal, -600);
    TIME_ZONE_INFORMATION noStandard = kSydney;
    noStandard.StandardDate.wMonth = 0;
    EXPECT_FALSE(GetDaylightTransitions(noStandard, 2026, rules));
}

TEST(ZoneUtcToLocal, NorthernZoneSwitchesAtBothTransitions) {
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, At(2026, 3, 29, 0, 59, 59)), At(2026, 3, 29, 0, 59, 59),
                kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, At(2026, 3, 29, 1)), At(2026, 3, 29, 2), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, At(2026, 10, 25, 0, 59, 59)), At(2026, 10, 25, 1, 59, 59),
                kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, At(2026, 10, 25, 1)), At(2026, 10, 25, 1), kTolerance);
}

TEST(ZoneUtcToLocal, LowerEdgeAdmitsATenthOfAMillisecondAndUpperEdgeIsStrict) {
    const DateTime start = At(2026, 3, 29, 1);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, start - kHalfTenthMs), start - kHalfTenthMs + 1.0 / 24,
                kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, start - 3 * kHalfTenthMs), start - 3 * kHalfTenthMs,
                kTolerance);
    const DateTime end = At(2026, 10, 25, 1);
    EXPECT_NEAR(ZoneUtcToLocal(kLondon, end - kHalfTenthMs), end - kHalfTenthMs + 1.0 / 24,
                kTolerance);
}

TEST(ZoneUtcToLocal, SouthernZoneIsOnDaylightTimeAcrossTheNewYear) {
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 6, 1)), At(2026, 6, 1, 10), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 12, 1)), At(2026, 12, 1, 11), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 1, 15)), At(2026, 1, 15, 11), kTolerance);
    // Standard time begins at 2026-04-04 16:00 UTC and daylight time at 2026-10-03 16:00 UTC.
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 4, 4, 15, 59)), At(2026, 4, 5, 2, 59), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 4, 4, 16)), At(2026, 4, 5, 2), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(kSydney, At(2026, 10, 3, 16)), At(2026, 10, 4, 3), kTolerance);
}

TEST(ZoneUtcToLocal, ZonesWithoutUsableRulesUseTheBiasAlone) {
    TIME_ZONE_INFORMATION kolkata = Zone(-330, Rule(0, 0, 0, 0), Rule(0, 0, 0, 0));
    EXPECT_NEAR(ZoneUtcToLocal(kolkata, At(2026, 7, 1, 12)), At(2026, 7, 1, 17, 30), kTolerance);
    kolkata.DaylightDate = Rule(3, 0, 5, 1); // one rule alone is no daylight saving
    EXPECT_NEAR(ZoneUtcToLocal(kolkata, At(2026, 7, 1, 12)), At(2026, 7, 1, 17, 30), kTolerance);
    // An hour of 24 makes the rules unusable rather than raising.
    const TIME_ZONE_INFORMATION broken = Zone(0, Rule(3, 0, 5, 1), Rule(10, 0, 5, 24));
    EXPECT_NEAR(ZoneUtcToLocal(broken, At(2026, 7, 1, 12)), At(2026, 7, 1, 12), kTolerance);
}

TEST(ZoneUtcToLocal, AbsoluteRulesOfAnotherYearLeaveStandardTime) {
    const TIME_ZONE_INFORMATION eastern =
        Zone(300, Rule(3, 0, 11, 2, 2007), Rule(11, 0, 4, 2, 2007));
    EXPECT_NEAR(ZoneUtcToLocal(eastern, At(2026, 7, 1, 12)), At(2026, 7, 1, 7), kTolerance);
    EXPECT_NEAR(ZoneUtcToLocal(eastern, At(2007, 7, 1, 12)), At(2007, 7, 1, 8), kTolerance);
}

TEST(ZoneLocalToUtc, RepeatedHourTakesTheChosenReadingAndSkippedHourIsZero) {
    const DateTime repeated = At(2026, 10, 25, 1, 30);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, true, repeated), At(2026, 10, 25, 0, 30), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, false, repeated), At(2026, 10, 25, 1, 30), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, true, At(2026, 10, 25, 2)), At(2026, 10, 25, 2),
                kTolerance);
    EXPECT_EQ(ZoneLocalToUtc(kLondon, true, At(2026, 3, 29, 1, 30)), 0.0);
    EXPECT_EQ(ZoneLocalToUtc(kLondon, true, At(2026, 3, 29, 1) - kHalfTenthMs), 0.0);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, true, At(2026, 3, 29, 2)), At(2026, 3, 29, 1), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, false, At(2026, 7, 1, 12)), At(2026, 7, 1, 11), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kLondon, true, At(2026, 1, 1, 12)), At(2026, 1, 1, 12), kTolerance);
}

TEST(ZoneLocalToUtc, SouthernZoneRepeatsInAprilAndSkipsInOctober) {
    const DateTime repeated = At(2026, 4, 5, 2, 30);
    EXPECT_NEAR(ZoneLocalToUtc(kSydney, true, repeated), At(2026, 4, 4, 15, 30), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kSydney, false, repeated), At(2026, 4, 4, 16, 30), kTolerance);
    EXPECT_EQ(ZoneLocalToUtc(kSydney, true, At(2026, 10, 4, 2, 30)), 0.0);
    EXPECT_NEAR(ZoneLocalToUtc(kSydney, true, At(2026, 12, 1, 12)), At(2026, 12, 1, 1), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(kSydney, true, At(2026, 6, 1, 12)), At(2026, 6, 1, 2), kTolerance);
}

TEST(ZoneLocalToUtc, DaylightBiasAboveStandardMovesTheRepeatedAndSkippedHours) {
    // Clocks go back one hour at the daylight start and forward at the standard start.
    const TIME_ZONE_INFORMATION reversed = Zone(0, Rule(3, 0, 5, 1), Rule(10, 0, 5, 2), 60);
    const DateTime repeated = At(2026, 3, 29, 0, 30);
    EXPECT_NEAR(ZoneLocalToUtc(reversed, true, repeated), At(2026, 3, 29, 1, 30), kTolerance);
    EXPECT_NEAR(ZoneLocalToUtc(reversed, false, repeated), repeated, kTolerance);
    EXPECT_EQ(ZoneLocalToUtc(reversed, true, At(2026, 10, 25, 2, 30)), 0.0);
    EXPECT_NEAR(ZoneLocalToUtc(reversed, false, At(2026, 7, 1, 12)), At(2026, 7, 1, 13),
                kTolerance);
}

TEST(EndOfSkippedTime, GivesTheFirstLocalTimeAfterTheSkippedHourForTimesInIt) {
    EXPECT_NEAR(*EndOfSkippedTime(kLondon, At(2026, 3, 29, 1, 30)), At(2026, 3, 29, 2), kTolerance);
    EXPECT_NEAR(*EndOfSkippedTime(kLondon, At(2026, 3, 29, 1)), At(2026, 3, 29, 2), kTolerance);
    EXPECT_EQ(EndOfSkippedTime(kLondon, At(2026, 3, 29, 0, 59, 59)), std::nullopt);
    EXPECT_EQ(EndOfSkippedTime(kLondon, At(2026, 3, 29, 2)), std::nullopt);
    // The repeated hour exists (twice).
    EXPECT_EQ(EndOfSkippedTime(kLondon, At(2026, 10, 25, 1, 30)), std::nullopt);
    EXPECT_NEAR(*EndOfSkippedTime(kSydney, At(2026, 10, 4, 2, 30)), At(2026, 10, 4, 3), kTolerance);
    const TIME_ZONE_INFORMATION reversed = Zone(0, Rule(3, 0, 5, 1), Rule(10, 0, 5, 2), 60);
    EXPECT_NEAR(*EndOfSkippedTime(reversed, At(2026, 10, 25, 2, 30)), At(2026, 10, 25, 3),
                kTolerance);
    TIME_ZONE_INFORMATION plain;
    plain.Bias = -60;
    EXPECT_EQ(EndOfSkippedTime(plain, At(2026, 3, 29, 1, 30)), std::nullopt);
}

} // namespace
} // namespace norvale
