#pragma once

#include "core/alarms/alarm_rule.h"
#include "core/platform/date_time.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// The texts of an alarm's settings as they are stored: readable, the same under every
// regional format, and in the words of the Alarms window.

inline constexpr std::string_view kAllValues = "All";
inline constexpr std::array<std::string_view, kEveryUnitCount> kEveryUnitNames{
    "Year", "Month", "Week", "Day Of Week", "Day", "Hour", "Minute", "Second"};
inline constexpr std::array<std::string_view, 12> kMonthNames{
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline constexpr std::array<std::string_view, 7> kWeekDayNames{"Sun", "Mon", "Tue", "Wed",
                                                               "Thu", "Fri", "Sat"};
inline constexpr std::array<std::string_view, 5> kWeekNames{"1", "2", "3", "4", "last"};

// A panel's values: "All", or the chosen ones separated by commas ("Jan,Mar"; "" for none).
// names[i] names value first + i; without names the values are written as numbers.
std::string FormatValueSet(const TValueSet& set, int first, int last,
                           std::span<const std::string_view> names = {});
// Names are read ignoring case, blanks around them are allowed; nullopt for anything else.
std::optional<TValueSet> ParseValueSet(std::string_view text, int first, int last,
                                       std::span<const std::string_view> names = {});

struct TYears {
    bool All = true;
    std::vector<int> Values; // ascending, without repeats
};
std::string FormatYears(const TYears& years);
std::optional<TYears> ParseYears(std::string_view text);

// A date as "2026-12-08" (a whole date-time value).
std::string FormatIsoDate(long long day);
std::optional<long long> ParseIsoDate(std::string_view text);

// A time of day in seconds as "07:30:00".
std::string FormatTimeOfDay(int seconds);
std::optional<int> ParseTimeOfDay(std::string_view text);

// A snooze length as minutes and seconds, "9:00"; from 0:01 to 1440:00.
std::string FormatSnooze(int seconds);
std::optional<int> ParseSnooze(std::string_view text);

std::string_view EveryUnitName(TEveryUnit unit);
std::optional<TEveryUnit> ParseEveryUnit(std::string_view text);

} // namespace norvale
