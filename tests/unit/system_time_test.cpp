#include "core/time/calendar.h"
#include "core/time/system_time.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(DateTimeToSystemTime, SplitsDateAndTimeToTheMillisecond) {
    const DateTime value = *EncodeDate(2026, 3, 9) + *EncodeTime(10, 0, 2, 65);
    const std::optional<SYSTEMTIME> time = DateTimeToSystemTime(value);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->wYear, 2026);
    EXPECT_EQ(time->wMonth, 3);
    EXPECT_EQ(time->wDay, 9);
    EXPECT_EQ(time->wDayOfWeek, 1); // Monday
    EXPECT_EQ(time->wHour, 10);
    EXPECT_EQ(time->wMinute, 0);
    EXPECT_EQ(time->wSecond, 2);
    EXPECT_EQ(time->wMilliseconds, 65);
}

TEST(DateTimeToSystemTime, RoundingUpToMidnightGivesTheNextDay) {
    const DateTime value = *EncodeDate(2026, 12, 31) + 1 - 0.0004 * kOneMillisecond;
    const std::optional<SYSTEMTIME> time = DateTimeToSystemTime(value);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->wYear, 2027);
    EXPECT_EQ(time->wMonth, 1);
    EXPECT_EQ(time->wDay, 1);
    EXPECT_EQ(time->wDayOfWeek, 5); // Friday
    EXPECT_EQ(time->wHour, 0);
    EXPECT_EQ(time->wMilliseconds, 0);
}

TEST(DateTimeToSystemTime, ValuesWithoutSuchADateHaveNone) {
    EXPECT_FALSE(DateTimeToSystemTime(-0.5));
    EXPECT_FALSE(DateTimeToSystemTime(*EncodeDate(9999, 12, 31) + 1));
    EXPECT_TRUE(DateTimeToSystemTime(*EncodeDate(9999, 12, 31) + 0.5));
    EXPECT_TRUE(DateTimeToSystemTime(0));
}

TEST(SystemTimeToDateTime, JoinsDateAndTimeAndRefusesWhatDoesNotExist) {
    SYSTEMTIME time;
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 25;
    time.wHour = 18;
    time.wMinute = 30;
    time.wSecond = 5;
    time.wMilliseconds = 250;
    const std::optional<DateTime> value = SystemTimeToDateTime(time);
    ASSERT_TRUE(value);
    EXPECT_DOUBLE_EQ(*value, *EncodeDate(2026, 12, 25) + *EncodeTime(18, 30, 5, 250));
    EXPECT_EQ(DateTimeToSystemTime(*value)->wMilliseconds, 250);

    time.wDay = 32;
    EXPECT_FALSE(SystemTimeToDateTime(time));
    time.wDay = 31;
    time.wHour = 24;
    EXPECT_FALSE(SystemTimeToDateTime(time));
}

} // namespace
} // namespace norvale
