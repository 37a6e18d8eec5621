#include "core/alarms/alarm_rule.h"

#include "core/time/calendar.h"

#include <algorithm>

namespace norvale {
namespace {

constexpr int kSecondsInDay = 86'400;
constexpr int kDaysPerWeek = 7;

long long FloorMod(long long value, long long divisor) {
    const long long r = value % divisor;
    return r < 0 ? r + divisor : r;
}

long long FloorDiv(long long value, long long divisor) {
    return (value - FloorMod(value, divisor)) / divisor;
}

int WeekDayOf(long long day) {
    return DayOfWeek(static_cast<double>(day));
}

// The Sunday that starts the calendar week of a day.
long long WeekStart(long long day) {
    return day - (WeekDayOf(day) - 1);
}

bool StepsOn(const TAlarmRule& rule, long long count) {
    return FloorMod(count, rule.Every) == 0;
}

int StepSeconds(TEveryUnit unit) {
    switch (unit) {
    case TEveryUnit::Hour:
        return 3600;
    case TEveryUnit::Minute:
        return 60;
    case TEveryUnit::Second:
        return 1;
    default:
        return 0;
    }
}

} // namespace

bool ObviouslyNever(const TAlarmRule& rule) {
    return rule.Every < 1 || (!rule.AllYears && rule.Years.empty()) || rule.Months.Empty() ||
           rule.Weeks.Empty() || rule.WeekDays.Empty() || rule.Days.Empty() ||
           (rule.Start && rule.End && *rule.End < *rule.Start);
}

long long StepAnchor(const TAlarmRule& rule) {
    return rule.Start.value_or(0);
}

bool IsAlarmYear(const TAlarmRule& rule, int year) {
    if (!rule.AllYears && !std::binary_search(rule.Years.begin(), rule.Years.end(), year)) {
        return false;
    }
    if (rule.Start && year < DecodeDate(static_cast<double>(*rule.Start)).Year) {
        return false;
    }
    if (rule.End && year > DecodeDate(static_cast<double>(*rule.End)).Year) {
        return false;
    }
    return rule.Unit != TEveryUnit::Year ||
           StepsOn(rule, year - DecodeDate(static_cast<double>(StepAnchor(rule))).Year);
}

bool IsAlarmMonth(const TAlarmRule& rule, int year, int month) {
    if (!rule.Months.Has(month)) {
        return false;
    }
    if (rule.Unit != TEveryUnit::Month) {
        return true;
    }
    const CalendarDate anchor = DecodeDate(static_cast<double>(StepAnchor(rule)));
    return StepsOn(rule, (year - anchor.Year) * 12LL + (month - anchor.Month));
}

bool IsAlarmDayOfMonth(const TAlarmRule& rule, int year, int month, int dayOfMonth, long long day,
                       int weekDay) {
    if (!rule.Days.Has(dayOfMonth) || !rule.WeekDays.Has(weekDay)) {
        return false;
    }
    const int week = (dayOfMonth - 1) / kDaysPerWeek + 1;
    const bool inLastWeek = dayOfMonth > DaysInMonth(year, month) - kDaysPerWeek;
    if (!rule.Weeks.All && !(week < kLastWeek && rule.Weeks.Has(week)) &&
        !(inLastWeek && rule.Weeks.Has(kLastWeek))) {
        return false;
    }
    if ((rule.Start && day < *rule.Start) || (rule.End && day > *rule.End)) {
        return false;
    }
    const long long anchor = StepAnchor(rule);
    switch (rule.Unit) {
    case TEveryUnit::Week:
        return StepsOn(rule, (WeekStart(day) - WeekStart(anchor)) / kDaysPerWeek);
    case TEveryUnit::DayOfWeek:
        return StepsOn(rule, FloorDiv(day - anchor, kDaysPerWeek));
    case TEveryUnit::Day:
        return StepsOn(rule, day - anchor);
    default:
        return true;
    }
}

bool IsAlarmDay(const TAlarmRule& rule, long long day) {
    const CalendarDate date = DecodeDate(static_cast<double>(day));
    return !ObviouslyNever(rule) && IsAlarmYear(rule, date.Year) &&
           IsAlarmMonth(rule, date.Year, date.Month) &&
           IsAlarmDayOfMonth(rule, date.Year, date.Month, date.Day, day, WeekDayOf(day));
}

std::optional<int> NextTimeOfDay(const TAlarmRule& rule, int after) {
    if (after < rule.TimeOfDay) {
        return rule.TimeOfDay;
    }
    const int step = StepSeconds(rule.Unit);
    if (step == 0) {
        return std::nullopt;
    }
    const long long every = static_cast<long long>(step) * rule.Every;
    const long long next = rule.TimeOfDay + ((after - rule.TimeOfDay) / every + 1) * every;
    if (next >= kSecondsInDay) {
        return std::nullopt;
    }
    return static_cast<int>(next);
}

} // namespace norvale
