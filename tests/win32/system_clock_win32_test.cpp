#include "core/time/calendar.h"
#include "core/time/time_parts.h"
#include "win32/system_clock_win32.h"
#include "win32/win32_common.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

TEST(Win32SystemClock, ReadsTheLocalTimeOfTheComputer) {
    ::SYSTEMTIME before;
    GetLocalTime(&before);
    const DateTime now = Win32SystemClock().Now();
    ::SYSTEMTIME after;
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

// The count the stopwatch runs on: the tick count since the system started, which goes on
// through sleep.
TEST(Win32SystemClock, TheMonotonicCountIsTheTickCountAndAdvancesWithRealTime) {
    const Win32SystemClock clock;
    const std::int64_t before = static_cast<std::int64_t>(GetTickCount64());
    const std::int64_t first = clock.MonotonicMilliseconds();
    Sleep(50);
    const std::int64_t second = clock.MonotonicMilliseconds();
    const std::int64_t after = static_cast<std::int64_t>(GetTickCount64());
    EXPECT_GE(first, before);
    EXPECT_LE(second, after);
    EXPECT_GE(second - first, 30);
    EXPECT_LT(second - first, 5000);
}

TEST(Win32SystemClock, CopiesTheComputersZoneRules) {
    ::TIME_ZONE_INFORMATION native{};
    const DWORD expected = ::GetTimeZoneInformation(&native);
    norvale::TIME_ZONE_INFORMATION twin;
    EXPECT_EQ(Win32SystemClock().GetTimeZoneInformation(twin), expected);
    EXPECT_EQ(twin.Bias, native.Bias);
    EXPECT_EQ(twin.DaylightBias, native.DaylightBias);
    EXPECT_EQ(twin.StandardDate.wMonth, native.StandardDate.wMonth);
    EXPECT_EQ(twin.DaylightDate.wHour, native.DaylightDate.wHour);
    EXPECT_EQ(std::u16string(twin.StandardName),
              std::u16string(reinterpret_cast<const char16_t*>(native.StandardName)));
}

TEST(Win32SystemClock, DescribesTheLastError) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    const std::string text = Win32SystemClock().LastErrorText();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
}

} // namespace
} // namespace norvale::win32
