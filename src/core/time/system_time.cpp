#include "core/time/system_time.h"

#include "core/time/calendar.h"

#include <cmath>
#include <cstdint>

namespace norvale {

std::optional<SYSTEMTIME> DateTimeToSystemTime(DateTime value) {
    constexpr auto kMillisecondsPerDayWhole = static_cast<std::int64_t>(kMillisecondsPerDay);
    const double milliseconds = std::round(value * kMillisecondsPerDay);
    const std::optional<DateTime> last = EncodeDate(kMaxYear, 12, 31);
    if (!(milliseconds >= 0) || milliseconds >= (*last + 1) * kMillisecondsPerDay) {
        return std::nullopt;
    }
    const auto whole = static_cast<std::int64_t>(milliseconds);
    const std::int64_t dayNumber = whole / kMillisecondsPerDayWhole;
    const auto day = static_cast<DateTime>(dayNumber);
    auto rest = whole % kMillisecondsPerDayWhole;
    const CalendarDate date = DecodeDate(day);

    SYSTEMTIME result;
    result.wYear = static_cast<std::uint16_t>(date.Year);
    result.wMonth = static_cast<std::uint16_t>(date.Month);
    result.wDay = static_cast<std::uint16_t>(date.Day);
    result.wDayOfWeek = static_cast<std::uint16_t>(DayOfWeek(day) - 1);
    result.wMilliseconds = static_cast<std::uint16_t>(rest % 1000);
    rest /= 1000;
    result.wSecond = static_cast<std::uint16_t>(rest % 60);
    rest /= 60;
    result.wMinute = static_cast<std::uint16_t>(rest % 60);
    result.wHour = static_cast<std::uint16_t>(rest / 60);
    return result;
}

std::optional<DateTime> SystemTimeToDateTime(const SYSTEMTIME& time) {
    const std::optional<DateTime> date = EncodeDate(time.wYear, time.wMonth, time.wDay);
    const std::optional<DateTime> timeOfDay =
        EncodeTime(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    if (!date || !timeOfDay) {
        return std::nullopt;
    }
    return *date + *timeOfDay;
}

} // namespace norvale
