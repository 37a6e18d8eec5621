#pragma once

#include "core/platform/win_types.h"

#include <cstdint>

namespace norvale::testing {

// A transition rule in SYSTEMTIME form: the dayOfWeek-th week day (0 = Sunday) of week
// `day` (5 = the last) of a month, at an hour; with a year, that date of that year.
inline SYSTEMTIME Rule(int month, int dayOfWeek, int day, int hour, int year = 0) {
    SYSTEMTIME rule;
    rule.wYear = static_cast<std::uint16_t>(year);
    rule.wMonth = static_cast<std::uint16_t>(month);
    rule.wDayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
    rule.wDay = static_cast<std::uint16_t>(day);
    rule.wHour = static_cast<std::uint16_t>(hour);
    return rule;
}

inline TIME_ZONE_INFORMATION Zone(int bias, SYSTEMTIME daylight, SYSTEMTIME standard,
                                  int daylightBias = -60) {
    TIME_ZONE_INFORMATION info;
    info.Bias = bias;
    info.DaylightDate = daylight;
    info.StandardDate = standard;
    info.DaylightBias = daylightBias;
    return info;
}

// Daylight from the last Sunday of March 01:00 to the last Sunday of October 02:00 local.
inline const TIME_ZONE_INFORMATION kLondon = Zone(0, Rule(3, 0, 5, 1), Rule(10, 0, 5, 2));
// UTC+10, daylight from the first Sunday of October 02:00 to the first Sunday of April 03:00.
inline const TIME_ZONE_INFORMATION kSydney = Zone(-600, Rule(10, 0, 1, 2), Rule(4, 0, 1, 3));

} // namespace norvale::testing
