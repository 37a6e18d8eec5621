#include "core/timezone/zone_conversion.h"

#include "core/time/calendar.h"

#include <cmath>

namespace norvale {
namespace {

constexpr long long kMsPerMinute = 60'000;

// A transition kept as its date and its time of day in milliseconds, so that an edge shifted
// by whole minutes is one rounding away from the exact value: an exact input such as
// 01:00:00.000 then compares equal to an edge that is exactly 01:00:00.000.
struct Transition {
    DateTime Date = 0;
    long long Ms = 0;

    DateTime ShiftedBy(long long minutes) const {
        return Date + static_cast<DateTime>(Ms + minutes * kMsPerMinute) / kMillisecondsPerDay;
    }
};

std::optional<Transition> RuleTransition(const SYSTEMTIME& rule, int year) {
    if (rule.wMonth == 0) {
        return Transition{};
    }
    if (!EncodeTime(rule.wHour, rule.wMinute, rule.wSecond, rule.wMilliseconds)) {
        return std::nullopt;
    }
    const auto date = rule.wYear != 0
                          ? EncodeDate(rule.wYear, rule.wMonth, rule.wDay)
                          : NthWeekdayOfMonth(year, rule.wMonth, rule.wDay, rule.wDayOfWeek + 1);
    if (!date) {
        return std::nullopt;
    }
    const long long ms =
        ((rule.wHour * 60LL + rule.wMinute) * 60 + rule.wSecond) * 1000 + rule.wMilliseconds;
    return Transition{*date, ms};
}

struct ZoneRules {
    Transition Daylight; // starts, in local standard time
    Transition Standard; // starts, in local daylight time
    int DaylightBiasTotal = 0;
    int StandardBiasTotal = 0;
};

std::optional<ZoneRules> RulesForYear(const TIME_ZONE_INFORMATION& info, int year) {
    if (info.DaylightDate.wMonth == 0 || info.StandardDate.wMonth == 0) {
        return std::nullopt;
    }
    const auto daylight = RuleTransition(info.DaylightDate, year);
    const auto standard = RuleTransition(info.StandardDate, year);
    if (!daylight || !standard) {
        return std::nullopt;
    }
    return ZoneRules{*daylight, *standard, info.Bias + info.DaylightBias,
                     info.Bias + info.StandardBias};
}

DateTime Minutes(int minutes) {
    return minutes / 1440.0;
}

// t in [from, to): the lower edge admits values up to 0.1 ms below it, the upper is strict.
bool InInterval(DateTime t, DateTime from, DateTime to) {
    return (t > from || SameInstant(from, t)) && t < to;
}

struct LocalInterval {
    DateTime From = 0;
    DateTime To = 0;
};

// Daylight saving lowers the bias in the usual direction: then the clocks skip forward when it
// starts and repeat when it ends; the other way round otherwise.
bool UsualDirection(const ZoneRules& rules) {
    return rules.DaylightBiasTotal < rules.StandardBiasTotal;
}

// The local times the clocks skip when they move forward.
LocalInterval SkippedInterval(const ZoneRules& rules) {
    const long long delta = rules.StandardBiasTotal - rules.DaylightBiasTotal; // minutes
    return UsualDirection(rules)
               ? LocalInterval{rules.Daylight.ShiftedBy(0), rules.Daylight.ShiftedBy(delta)}
               : LocalInterval{rules.Standard.ShiftedBy(0), rules.Standard.ShiftedBy(-delta)};
}

} // namespace

bool SameInstant(DateTime a, DateTime b) {
    return std::fabs(a - b) < kSameInstantTolerance;
}

std::optional<DateTime> NthWeekdayOfMonth(int year, int month, int n, int weekday) {
    if (n < 1 || n > 5) {
        return 0.0;
    }
    const auto first = EncodeDate(year, month, 1);
    if (!first) {
        return std::nullopt;
    }
    int day = 0;
    if (n <= 4) {
        day = weekday + 1 - DayOfWeek(*first);
        if (day <= 0) {
            day += 7;
        }
        day += 7 * (n - 1);
    } else {
        const int last = DaysInMonth(year, month);
        day = last + weekday - DayOfWeek(*first + (last - 1));
        if (day > last) {
            day -= 7;
        }
    }
    return EncodeDate(year, month, day);
}

std::optional<DateTime> TransitionTime(const SYSTEMTIME& rule, int year) {
    const auto transition = RuleTransition(rule, year);
    return transition ? std::optional<DateTime>(transition->ShiftedBy(0)) : std::nullopt;
}

bool GetDaylightTransitions(const TIME_ZONE_INFORMATION& info, int year, DaylightTransitions& out) {
    const auto rules = RulesForYear(info, year);
    if (!rules) {
        return false;
    }
    out.DaylightStart = rules->Daylight.ShiftedBy(0);
    out.StandardStart = rules->Standard.ShiftedBy(0);
    out.DaylightBiasTotal = rules->DaylightBiasTotal;
    out.StandardBiasTotal = rules->StandardBiasTotal;
    return true;
}

DateTime ZoneUtcToLocal(const TIME_ZONE_INFORMATION& info, DateTime utc) {
    const auto rules = RulesForYear(info, DecodeDate(utc).Year);
    if (!rules) {
        return utc - Minutes(info.Bias);
    }
    const DateTime daylightBias = Minutes(rules->DaylightBiasTotal);
    const DateTime standardBias = Minutes(rules->StandardBiasTotal);
    const DateTime ds = rules->Daylight.ShiftedBy(rules->StandardBiasTotal);
    const DateTime ss = rules->Standard.ShiftedBy(rules->DaylightBiasTotal);
    if (ds < ss) {
        return utc - (InInterval(utc, ds, ss) ? daylightBias : standardBias);
    }
    return utc - (InInterval(utc, ss, ds) ? standardBias : daylightBias);
}

DateTime ZoneLocalToUtc(const TIME_ZONE_INFORMATION& info, bool preferDaylight, DateTime local) {
    const auto rules = RulesForYear(info, DecodeDate(local).Year);
    if (!rules) {
        return local + Minutes(info.Bias);
    }
    const DateTime daylightBias = Minutes(rules->DaylightBiasTotal);
    const DateTime standardBias = Minutes(rules->StandardBiasTotal);
    const long long delta = rules->StandardBiasTotal - rules->DaylightBiasTotal; // minutes
    const DateTime ds = rules->Daylight.ShiftedBy(0);
    const DateTime ss = rules->Standard.ShiftedBy(0);
    // The repeated and the skipped interval; which transition holds which depends on the
    // direction the clocks move.
    const bool repeated = UsualDirection(*rules)
                              ? InInterval(local, rules->Standard.ShiftedBy(-delta), ss)
                              : InInterval(local, rules->Daylight.ShiftedBy(delta), ds);
    if (repeated) {
        return local + (preferDaylight ? daylightBias : standardBias);
    }
    const LocalInterval skipped = SkippedInterval(*rules);
    if (InInterval(local, skipped.From, skipped.To)) {
        return 0;
    }
    if (ds < ss) {
        return local + (InInterval(local, ds, ss) ? daylightBias : standardBias);
    }
    return local + (InInterval(local, ss, ds) ? standardBias : daylightBias);
}

std::optional<DateTime> EndOfSkippedTime(const TIME_ZONE_INFORMATION& info, DateTime local) {
    const auto rules = RulesForYear(info, DecodeDate(local).Year);
    if (!rules) {
        return std::nullopt;
    }
    const LocalInterval skipped = SkippedInterval(*rules);
    if (!InInterval(local, skipped.From, skipped.To)) {
        return std::nullopt;
    }
    return skipped.To;
}

} // namespace norvale
