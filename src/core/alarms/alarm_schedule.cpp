#include "core/alarms/alarm_schedule.h"

#include "core/time/calendar.h"
#include "core/timezone/zone_conversion.h"

#include <algorithm>
#include <cmath>

namespace norvale {
namespace {

constexpr long long kMsPerDay = 86'400'000;
constexpr int kSecondsInDay = 86'400;
// The calendar, week days included, repeats every 400 years.
constexpr int kCalendarCycleYears = 400;

struct Match {
    long long Day = 0;
    int Second = 0;
};

bool StepsThroughDates(const TAlarmRule& rule) {
    return rule.Every > 1 && rule.Unit <= TEveryUnit::Day;
}

// The last year a search has to look at: the calendar repeats, so a rule without a date step
// that allows every year matches within one cycle of the first year searched or never.
int LastYearToSearch(const TAlarmRule& rule, int firstYear) {
    int last = kMaxYear;
    if (!rule.AllYears) {
        last = std::min(last, rule.Years.back());
    }
    if (rule.End) {
        last = std::min(last, DecodeDate(static_cast<double>(*rule.End)).Year);
    }
    if (rule.AllYears && !StepsThroughDates(rule)) {
        last = std::min(last, firstYear + kCalendarCycleYears);
    }
    return last;
}

// The first of the rule's times on one of its days, from `day` on, after second `afterSecond`
// of that first day (-1 for all of it).
std::optional<Match> FirstMatch(const TAlarmRule& rule, long long day, int afterSecond) {
    if (rule.Start && *rule.Start > day) {
        day = *rule.Start;
        afterSecond = -1;
    }
    const CalendarDate from = DecodeDate(static_cast<double>(day));
    const int lastYear = LastYearToSearch(rule, from.Year);
    for (int year = from.Year; year <= lastYear; ++year) {
        if (!IsAlarmYear(rule, year)) {
            continue;
        }
        for (int month = year == from.Year ? from.Month : 1; month <= 12; ++month) {
            if (!IsAlarmMonth(rule, year, month)) {
                continue;
            }
            const bool firstMonth = year == from.Year && month == from.Month;
            const int firstDay = firstMonth ? from.Day : 1;
            auto current = static_cast<long long>(*EncodeDate(year, month, firstDay));
            int weekDay = DayOfWeek(static_cast<double>(current));
            for (int dayOfMonth = firstDay; dayOfMonth <= DaysInMonth(year, month);
                 ++dayOfMonth, ++current, weekDay = weekDay % 7 + 1) {
                if (!IsAlarmDayOfMonth(rule, year, month, dayOfMonth, current, weekDay)) {
                    continue;
                }
                const int after = current == day ? afterSecond : -1;
                if (const std::optional<int> second = NextTimeOfDay(rule, after)) {
                    return Match{current, *second};
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<DateTime> NextOccurrence(const TAlarmRule& rule, const TIME_ZONE_INFORMATION& zone,
                                       DateTime after) {
    if (ObviouslyNever(rule) || !std::isfinite(after)) {
        return std::nullopt;
    }
    // Whole milliseconds of the wall clock; a time before the calendar's start searches from
    // its first day.
    const long long ms = std::max(0LL, std::llround(after * static_cast<double>(kMsPerDay)));
    const long long day = ms / kMsPerDay;
    const auto second = static_cast<int>(ms % kMsPerDay / 1000);
    const std::optional<Match> match = FirstMatch(rule, day, second);
    if (!match) {
        return std::nullopt;
    }
    const DateTime moment =
        static_cast<double>(match->Day) + static_cast<double>(match->Second) / kSecondsInDay;
    return EndOfSkippedTime(zone, moment).value_or(moment);
}

} // namespace norvale
