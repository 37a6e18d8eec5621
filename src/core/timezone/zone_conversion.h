#pragma once

#include "core/platform/date_time.h"
#include "core/platform/win_types.h"

#include <optional>

namespace norvale {

// Two date-times closer than 0.1 ms are the same instant.
inline constexpr DateTime kSameInstantTolerance = 1.1574074074074074e-09;
bool SameInstant(DateTime a, DateTime b);

// The n-th (1 to 4, or 5 for the last) weekday (1 = Sunday ... 7 = Saturday) of a month, at
// midnight; 0 for n = 0 or n > 5; nullopt when the day it names does not exist.
std::optional<DateTime> NthWeekdayOfMonth(int year, int month, int n, int weekday);

// The local date-time at which a rule in SYSTEMTIME form takes effect in a year: 0 for no rule
// (wMonth 0), the absolute date-time when wYear is set, else the weekday rule's date in year.
// nullopt when the rule names a date or time that does not exist.
std::optional<DateTime> TransitionTime(const SYSTEMTIME& rule, int year);

struct DaylightTransitions {
    DateTime DaylightStart = 0; // local standard time
    DateTime StandardStart = 0; // local daylight time
    int DaylightBiasTotal = 0;  // minutes, UTC = local + this in daylight time
    int StandardBiasTotal = 0;  // minutes, UTC = local + this in standard time
};

// False when the zone has no daylight saving or its rules cannot be evaluated for the year.
bool GetDaylightTransitions(const TIME_ZONE_INFORMATION& info, int year, DaylightTransitions& out);

// The zone's local date-time for a UTC date-time; the rules are those of the UTC value's year.
DateTime ZoneUtcToLocal(const TIME_ZONE_INFORMATION& info, DateTime utc);

// UTC for a zone's local date-time. In the repeated autumn hour preferDaylight picks the
// daylight reading; a local time in the skipped spring hour does not exist and gives 0.
DateTime ZoneLocalToUtc(const TIME_ZONE_INFORMATION& info, bool preferDaylight, DateTime local);

// For a local date-time in the interval the clocks skip when they move forward (the spring
// hour), the end of that interval: the first local time after it that exists. nullopt for a
// local time that exists.
std::optional<DateTime> EndOfSkippedTime(const TIME_ZONE_INFORMATION& info, DateTime local);

} // namespace norvale
