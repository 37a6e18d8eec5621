#include "core/time/calendar.h"

#include <cmath>

namespace norvale {
namespace {

// Days from 0001-01-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr long long kEpochOffset = 693'594;
constexpr long long kFirstDay = -kEpochOffset + 1; // 0001-01-01
constexpr long long kLastDay = 2'958'465;          // 9999-12-31

constexpr int kCumulativeDays[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// Days since 0001-01-01 of the first of January of a year.
long long DaysBeforeYear(int year) {
    const long long y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

long long ClampedDayNumber(DateTime value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double whole = std::trunc(value);
    if (whole < static_cast<double>(kFirstDay)) {
        return kFirstDay;
    }
    if (whole > static_cast<double>(kLastDay)) {
        return kLastDay;
    }
    return static_cast<long long>(whole);
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    const int leap = IsLeapYear(year) ? 1 : 0;
    return kCumulativeDays[leap][month] - kCumulativeDays[leap][month - 1];
}

std::optional<DateTime> EncodeDate(int year, int month, int day) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    const int leap = IsLeapYear(year) ? 1 : 0;
    const long long days = DaysBeforeYear(year) + kCumulativeDays[leap][month - 1] + day - 1;
    return static_cast<DateTime>(days - kEpochOffset + 1);
}

std::optional<DateTime> EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        return std::nullopt;
    }
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<DateTime>(ms) / kMillisecondsPerDay;
}

DateTime CombineDateTime(DateTime date, DateTime timeOfDay) {
    return date < 0 ? date - timeOfDay : date + timeOfDay;
}

CalendarDate DecodeDate(DateTime value) {
    long long n = ClampedDayNumber(value) + kEpochOffset - 1; // days since 0001-01-01
    // Peel off whole 400-, 100-, 4- and 1-year cycles; the last day of a 100- or 4-year
    // cycle block belongs to its final year.
    long long year = 1;
    year += 400 * (n / 146'097);
    n %= 146'097;
    long long centuries = n / 36'524;
    if (centuries == 4) {
        centuries = 3;
    }
    year += 100 * centuries;
    n -= centuries * 36'524;
    year += 4 * (n / 1461);
    n %= 1461;
    long long years = n / 365;
    if (years == 4) {
        years = 3;
    }
    year += years;
    n -= years * 365;

    CalendarDate date;
    date.Year = static_cast<int>(year);
    const int leap = IsLeapYear(date.Year) ? 1 : 0;
    int month = 1;
    while (n >= kCumulativeDays[leap][month]) {
        ++month;
    }
    date.Month = month;
    date.Day = static_cast<int>(n - kCumulativeDays[leap][month - 1]) + 1;
    return date;
}

int DayOfWeek(DateTime value) {
    // 1899-12-30 was a Saturday.
    const long long n = ClampedDayNumber(value);
    return static_cast<int>(((n % 7) + 7 + 6) % 7) + 1;
}

int DayOfYear(DateTime value) {
    const CalendarDate date = DecodeDate(value);
    const int leap = IsLeapYear(date.Year) ? 1 : 0;
    return kCumulativeDays[leap][date.Month - 1] + date.Day;
}

} // namespace norvale
