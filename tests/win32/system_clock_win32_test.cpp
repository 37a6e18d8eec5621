#include "core/time/calendar.h"
#include "core/time/time_parts.h"
#include "win32/system_clock_win32.h"
#include "win32/win32_common.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

TEST(Win32SystemClock, ReadsTheLocalTimeOfTheComputer) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    const DateTime now = Win32SystemClock().Now();
    SYSTEMTIME after;
    GetLocalTime(&after);

    const CalendarDate date = DecodeDate(now);
    EXPECT_TRUE(date.Year == before.wYear || date.Year == after.wYear);
    EXPECT_TRUE(date.Day == before.wDay || date.Day == after.wDay);
    const TimeParts parts = DecodeTimeParts(now);
    const int seconds = parts.Hour * 3600 + parts.Minute * 60 + parts.Second;
    const int low = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
    const int high = after.wHour * 3600 + after.wMinute * 60 + after.wSecond;
    if (low <= high) { // not across midnight
        EXPECT_GE(seconds, low);
        EXPECT_LE(seconds, high);
    }
}

TEST(Win32SystemClock, AdvancesWithRealTime) {
    const Win32SystemClock clock;
    const DateTime first = clock.Now();
    Sleep(50);
    const DateTime second = clock.Now();
    EXPECT_GE(second - first, 30 * kOneMillisecond);
    EXPECT_LT(second - first, 5 * kOneSecond);
}

} // namespace
} // namespace norvale::win32
