// The schedule against brute force: random rules, each next moment compared with a walk
// through real time, minute by minute (second by second for rules that step in seconds or
// have seconds in their time), for ten years, in zones with daylight saving.

#include "core/alarms/alarm_schedule.h"
#include "core/timezone/zone_conversion.h"
#include "support/alarm_testing.h"
#include "support/zone_rules.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace norvale {
namespace {

using testing::Seconds;

constexpr long long kDay = 86'400;
constexpr long long kTenYears = 3653 * kDay;
constexpr int kRules = 2000;

long long FloorMod(long long a, long long b) {
    return ((a % b) + b) % b;
}

long long FloorDiv(long long a, long long b) {
    return (a - FloorMod(a, b)) / b;
}

// ---- The oracle: the rule read directly, one local second at a time. ----

bool DateAllowed(const TAlarmRule& rule, long long day) {
    const CalendarDate date = DecodeDate(static_cast<double>(day));
    const int weekDay = DayOfWeek(static_cast<double>(day));
    const int week = (date.Day - 1) / 7 + 1;
    const bool yearOk = rule.AllYears || std::find(rule.Years.begin(), rule.Years.end(),
                                                   date.Year) != rule.Years.end();
    const bool weekOk = rule.Weeks.All || (week <= 4 && rule.Weeks.Has(week)) ||
                        (rule.Weeks.Has(5) && date.Day + 7 > DaysInMonth(date.Year, date.Month));
    if (!yearOk || !rule.Months.Has(date.Month) || !rule.Days.Has(date.Day) ||
        !rule.WeekDays.Has(weekDay) || !weekOk || (rule.Start && day < *rule.Start) ||
        (rule.End && day > *rule.End)) {
        return false;
    }
    const long long anchor = rule.Start.value_or(0);
    const CalendarDate a = DecodeDate(static_cast<double>(anchor));
    const int n = rule.Every;
    switch (rule.Unit) {
    case TEveryUnit::Year:
        return FloorMod(date.Year - a.Year, n) == 0;
    case TEveryUnit::Month:
        return FloorMod((date.Year * 12 + date.Month) - (a.Year * 12 + a.Month), n) == 0;
    case TEveryUnit::Week: {
        const long long sunday = day - (weekDay - 1);
        const long long anchorSunday = anchor - (DayOfWeek(static_cast<double>(anchor)) - 1);
        return FloorMod((sunday - anchorSunday) / 7, n) == 0;
    }
    case TEveryUnit::DayOfWeek:
        return FloorMod(FloorDiv(day - anchor, 7), n) == 0;
    case TEveryUnit::Day:
        return FloorMod(day - anchor, n) == 0;
    default:
        return true;
    }
}

bool TimeAllowed(const TAlarmRule& rule, long long second) {
    const long long unit = rule.Unit == TEveryUnit::Hour     ? 3600
                           : rule.Unit == TEveryUnit::Minute ? 60
                           : rule.Unit == TEveryUnit::Second ? 1
                                                             : 0;
    if (unit == 0) {
        return second == rule.TimeOfDay;
    }
    return second >= rule.TimeOfDay && (second - rule.TimeOfDay) % (unit * rule.Every) == 0;
}

long long LocalSeconds(const TIME_ZONE_INFORMATION& zone, long long utc) {
    return Seconds(ZoneUtcToLocal(zone, static_cast<double>(utc) / kDay));
}

// The wall clock of a zone whose changes fall on whole hours of UTC, as the test zones' do:
// the zone is asked once an hour, and the seconds within it are counted on.
class WallClock {
public:
    explicit WallClock(const TIME_ZONE_INFORMATION& zone) : FZone(zone) {}

    long long At(long long utc) {
        const long long hour = utc - FloorMod(utc, 3600);
        if (hour != FHour) {
            FHour = hour;
            FLocal = LocalSeconds(FZone, hour);
        }
        return FLocal + (utc - hour);
    }

private:
    const TIME_ZONE_INFORMATION& FZone;
    long long FHour = -1;
    long long FLocal = 0;
};

// Walks real time from utc0 in steps; at each instant the wall clock may have reached a
// rule's time after the local time of utc0 that it had not reached before (it runs back in
// the repeated hour and jumps over the skipped one). Returns the wall clock's reading at the
// first such instant, or nullopt within the horizon.
std::optional<long long> BruteForceNext(const TAlarmRule& rule, const TIME_ZONE_INFORMATION& zone,
                                        long long utc0, long long step) {
    // The answer for the last day asked about.
    long long askedDay = -1;
    bool allowed = false;
    const auto dateAllowed = [&](long long day) {
        if (day != askedDay) {
            askedDay = day;
            allowed = DateAllowed(rule, day);
        }
        return allowed;
    };
    WallClock wall(zone);
    long long reached = wall.At(utc0);
    long long next = 0; // the next day the rule allows, once asked for
    for (long long utc = utc0 + step; utc - utc0 <= kTenYears; utc += step) {
        const long long local = wall.At(utc);
        for (long long t = reached + step; t <= local; t += step) {
            if (dateAllowed(FloorDiv(t, kDay)) && TimeAllowed(rule, FloorMod(t, kDay))) {
                return local;
            }
        }
        reached = std::max(reached, local);
        // Days the rule does not allow are crossed at once, to the midnight that starts the
        // next day it allows, when the wall clock shows that midnight at the instant the
        // crossing arrives at (no change of daylight saving left it off by an hour); the next
        // step is at that midnight.
        const long long day = FloorDiv(local, kDay);
        if (dateAllowed(day)) {
            continue;
        }
        if (next <= day) {
            next = day + 1;
            while (next - day < kTenYears / kDay && !DateAllowed(rule, next)) {
                ++next;
            }
        }
        // Failing that, to the end of this day only, and failing that, step by step.
        for (const long long midnight : {next * kDay, (day + 1) * kDay}) {
            if (midnight - local > step && wall.At(utc + (midnight - local)) == midnight) {
                utc += midnight - local - step;
                reached = std::max(reached, midnight - step);
                break;
            }
        }
    }
    return std::nullopt;
}

// ---- Random rules that lean on the edges: the hours and months of daylight saving,
// February 29, "last" and the long days, steps, start and end dates. ----

class RuleMaker {
public:
    explicit RuleMaker(unsigned seed) : FRandom(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(FRandom); }

    TValueSet Set(int first, int last, double allChance, std::initializer_list<int> likely) {
        if (Chance(allChance)) {
            return {};
        }
        TValueSet set{false, 0};
        for (int v = first; v <= last; ++v) {
            set.Set(v, Chance(0.25));
        }
        for (const int v : likely) {
            set.Set(v, set.Has(v) || Chance(0.5));
        }
        if (set.Bits == 0 && !Chance(0.1)) {
            set.Set(Int(first, last), true);
        }
        return set;
    }

    TAlarmRule Rule(long long fromDay, int fromYear) {
        TAlarmRule rule;
        rule.AllYears = Chance(0.6);
        if (!rule.AllYears) {
            for (int year = fromYear; year <= fromYear + 8; ++year) {
                if (Chance(0.3)) {
                    rule.Years.push_back(year);
                }
            }
        }
        rule.Months = Set(1, 12, 0.5, {2, 3, 4, 10});
        rule.Weeks = Set(1, 5, 0.7, {5});
        rule.WeekDays = Set(1, 7, 0.6, {});
        rule.Days = Set(1, 31, 0.6, {29, 30, 31});
        if (Chance(0.3)) {
            rule.Start = fromDay + Int(-700, 1100);
        }
        if (Chance(0.3)) {
            rule.End = fromDay + Int(-400, 2200);
        }
        rule.Unit = static_cast<TEveryUnit>(Int(0, kEveryUnitCount - 1));
        rule.Every = Chance(0.5) ? 1 : Int(2, 5);
        // Often in the hours the clocks skip or repeat.
        rule.TimeOfDay = Chance(0.4) ? Int(30, 210) * 60 : Int(0, 1439) * 60;
        if (rule.Unit == TEveryUnit::Second || Chance(0.05)) {
            rule.TimeOfDay += Int(0, 59);
        }
        return rule;
    }

    std::mt19937& Random() { return FRandom; }

private:
    std::mt19937 FRandom;
};

std::string Describe(const TAlarmRule& rule, long long after) {
    std::ostringstream text;
    text << "after " << after << " s: years " << (rule.AllYears ? "all" : "") << " [";
    for (const int year : rule.Years) {
        text << year << ' ';
    }
    text << "] months " << rule.Months.All << '/' << rule.Months.Bits << " weeks " << rule.Weeks.All
         << '/' << rule.Weeks.Bits << " week days " << rule.WeekDays.All << '/'
         << rule.WeekDays.Bits << " days " << rule.Days.All << '/' << rule.Days.Bits << " start "
         << rule.Start.value_or(-1) << " end " << rule.End.value_or(-1) << " time "
         << rule.TimeOfDay << " every " << rule.Every << " unit " << static_cast<int>(rule.Unit);
    return text.str();
}

void CheckAgainstBruteForce(const TIME_ZONE_INFORMATION& zone, unsigned seed) {
    RuleMaker maker(seed);
    const long long first = Seconds(testing::At(2026, 1, 1));
    const long long last = Seconds(testing::At(2031, 1, 1));
    int found = 0;
    for (int i = 0; i < kRules; ++i) {
        const long long utcGuess =
            std::uniform_int_distribution<long long>(first, last)(maker.Random());
        // Now and then a moment in a night of daylight-saving change.
        const long long utc0 =
            utcGuess - FloorMod(utcGuess, kDay) +
            (maker.Chance(0.3) ? maker.Int(0, 4 * 3600) : FloorMod(utcGuess, kDay));
        const long long local0 = LocalSeconds(zone, utc0);
        const TAlarmRule rule =
            maker.Rule(FloorDiv(local0, kDay), DecodeDate(static_cast<double>(local0 / kDay)).Year);
        const bool bySecond = rule.TimeOfDay % 60 != 0 || rule.Unit == TEveryUnit::Second;
        const long long step = bySecond ? 1 : 60;
        const long long start = utc0 - FloorMod(utc0, step);
        const long long after = LocalSeconds(zone, start);
        const std::optional<long long> expected = BruteForceNext(rule, zone, start, step);
        const std::optional<DateTime> actual =
            NextOccurrence(rule, zone, static_cast<double>(after) / kDay);
        if (expected) {
            ++found;
            ASSERT_TRUE(actual.has_value()) << Describe(rule, after);
            ASSERT_EQ(Seconds(*actual), *expected) << Describe(rule, after);
        } else if (actual) {
            // Beyond the horizon: more than ten years on the wall clock, give or take an hour.
            ASSERT_GT(Seconds(*actual), after + kTenYears - 3600) << Describe(rule, after);
        }
    }
    // The rules are not all of the kind that never goes off.
    EXPECT_GT(found, kRules / 2);
}

TEST(AlarmScheduleProperty, AgreesWithBruteForceInANorthernZone) {
    CheckAgainstBruteForce(testing::kLondon, 20261208);
}

TEST(AlarmScheduleProperty, AgreesWithBruteForceInASouthernZone) {
    CheckAgainstBruteForce(testing::kSydney, 17);
}

} // namespace
} // namespace norvale
