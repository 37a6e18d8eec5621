#include "core/time/calendar.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(Calendar, EncodesKnownDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2025, 1, 1), 45'658.0);
    EXPECT_EQ(EncodeDate(2026, 12, 7), 46'363.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693'593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2'958'465.0);
}

TEST(Calendar, RejectsDaysThatDoNotExist) {
    EXPECT_FALSE(EncodeDate(1900, 2, 29));
    EXPECT_TRUE(EncodeDate(2000, 2, 29));
    EXPECT_TRUE(EncodeDate(2024, 2, 29));
    EXPECT_FALSE(EncodeDate(2026, 4, 31));
    EXPECT_FALSE(EncodeDate(2026, 13, 1));
    EXPECT_FALSE(EncodeDate(2026, 0, 1));
    EXPECT_FALSE(EncodeDate(0, 12, 31));
    EXPECT_FALSE(EncodeDate(10'000, 1, 1));
    EXPECT_FALSE(EncodeTime(24, 0, 0, 0));
    EXPECT_FALSE(EncodeTime(0, 60, 0, 0));
    EXPECT_FALSE(EncodeTime(0, 0, 0, 1000));
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(Calendar, DecodeInvertsEncodeOverWholeCenturies) {
    const auto check = [](int firstYear, int lastYear) {
        DateTime expected = *EncodeDate(firstYear, 1, 1);
        for (int y = firstYear; y <= lastYear; ++y) {
            for (int m = 1; m <= 12; ++m) {
                for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                    ASSERT_EQ(EncodeDate(y, m, d), expected) << y << "-" << m << "-" << d;
                    ASSERT_EQ(DecodeDate(CombineDateTime(expected, 0.75)), (CalendarDate{y, m, d}));
                    expected += 1;
                }
            }
        }
    };
    check(1, 5);
    check(1596, 2404);
    check(9995, 9999);
}

TEST(Calendar, NegativeValuesCountTheDayTowardsZero) {
    // -1.25 is 1899-12-29 06:00: the day is the truncated whole part.
    EXPECT_EQ(DecodeDate(-1.25), (CalendarDate{1899, 12, 29}));
    EXPECT_EQ(DecodeDate(-0.5), (CalendarDate{1899, 12, 30}));
    EXPECT_EQ(CombineDateTime(-1, 0.25), -1.25);
    EXPECT_EQ(CombineDateTime(46'363, 0.25), 46'363.25);
}

TEST(Calendar, ValuesOutsideTheCalendarDecodeAsItsLimits) {
    EXPECT_EQ(DecodeDate(-1e9), (CalendarDate{1, 1, 1}));
    EXPECT_EQ(DecodeDate(1e12), (CalendarDate{9999, 12, 31}));
}

TEST(Calendar, WeekdayAndDayOfYear) {
    EXPECT_EQ(DayOfWeek(0), 7);                        // 1899-12-30, a Saturday
    EXPECT_EQ(DayOfWeek(*EncodeDate(2026, 12, 7)), 2); // a Monday
    EXPECT_EQ(DayOfWeek(*EncodeDate(2026, 12, 6) + 0.9), 1);
    EXPECT_EQ(DayOfWeek(-1.25), 6);                // 1899-12-29, a Friday
    EXPECT_EQ(DayOfWeek(*EncodeDate(1, 1, 1)), 2); // proleptic Gregorian Monday
    EXPECT_EQ(DayOfYear(*EncodeDate(2024, 12, 31)), 366);
    EXPECT_EQ(DayOfYear(*EncodeDate(2026, 3, 1)), 60);
}

} // namespace
} // namespace norvale
