#pragma once

#include "core/platform/date_time.h"

#include <optional>

namespace norvale {

inline constexpr int kMinYear = 1;
inline constexpr int kMaxYear = 9999;

struct CalendarDate {
    int Year = 0;  // 1 to 9999
    int Month = 0; // 1 to 12
    int Day = 0;   // 1 to 31

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The proleptic Gregorian calendar; nullopt for a date that does not exist or lies outside
// the years 1 to 9999.
std::optional<DateTime> EncodeDate(int year, int month, int day);
std::optional<DateTime> EncodeTime(int hour, int minute, int second, int millisecond);

// Joins a day and a time of day the way the value is defined: before 1899-12-30 the day
// is negative and the time of day counts away from zero (-1.25 is 1899-12-29 06:00).
DateTime CombineDateTime(DateTime date, DateTime timeOfDay);

// The calendar day of a value is its whole part (truncated towards zero). Values beyond
// 0001-01-01 and 9999-12-31 decode as those limits.
CalendarDate DecodeDate(DateTime value);

// 1 for Sunday to 7 for Saturday.
int DayOfWeek(DateTime value);

// 1 for the first of January.
int DayOfYear(DateTime value);

} // namespace norvale
