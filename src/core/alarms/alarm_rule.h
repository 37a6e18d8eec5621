#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace norvale {

// The unit of "Every N": the first five step through the rule's dates, the last three repeat
// within each of its days from the alarm's time.
enum class TEveryUnit : std::uint8_t { Year, Month, Week, DayOfWeek, Day, Hour, Minute, Second };

inline constexpr int kEveryUnitCount = 8;
// "Every" takes up to four digits.
inline constexpr int kLongestEvery = 9999;

// The values one panel of the Alarms window allows: every value ("All"), or the checked ones.
// Values are small numbers (1 to 31 at most), kept as bits.
struct TValueSet {
    bool All = true;
    std::uint32_t Bits = 0;

    bool Has(int value) const { return All || (Bits >> value & 1U) != 0; }
    bool Empty() const { return !All && Bits == 0; }
    void Set(int value, bool on) {
        const std::uint32_t bit = 1U << value;
        Bits = on ? Bits | bit : Bits & ~bit;
    }
    static TValueSet Only(std::initializer_list<int> values) {
        TValueSet set{false, 0};
        for (const int value : values) {
            set.Set(value, true);
        }
        return set;
    }

    bool operator==(const TValueSet&) const = default;
};

// The week of the month a day lies in: weeks 1 to 4 are its days 1-7, 8-14, 15-21 and 22-28;
// "last" holds the month's last seven days, whatever their number.
inline constexpr int kLastWeek = 5;

// When an alarm goes off, in the computer's local wall-clock time. A day is one of the
// rule's dates when every panel allows it (its year, month, week of the month, day of the
// week and day of the month), it lies within the start and end dates, and the "Every N"
// step of a date unit lands on it; on such a day the alarm goes off at its time, and for the
// Hour, Minute and Second units again every N of them until midnight.
//
// A date step counts from the start date (from day 0, 1899-12-30, when there is none): Year
// and Month count calendar years and months, Week counts calendar weeks (Sunday to Saturday),
// Day Of Week counts the chosen week days each on its own (every N-th Monday ...), that is
// seven-day blocks from the start date, and Day counts days.
struct TAlarmRule {
    bool AllYears = true;
    std::vector<int> Years;         // when not all: the allowed years, ascending
    TValueSet Months;               // 1 to 12
    TValueSet Weeks;                // 1 to 4 and kLastWeek
    TValueSet WeekDays;             // 1 (Sunday) to 7 (Saturday)
    TValueSet Days;                 // 1 to 31
    std::optional<long long> Start; // first allowed day, as a whole date-time value
    std::optional<long long> End;   // last allowed day
    int TimeOfDay = 0;              // seconds after midnight, 0 to 86,399
    int Every = 1;                  // N, at least 1
    TEveryUnit Unit = TEveryUnit::Day;

    bool operator==(const TAlarmRule&) const = default;
};

// The rule allows no day at all for reasons that need no search: an empty panel, an end
// before the start, or an "Every" below 1.
bool ObviouslyNever(const TAlarmRule& rule);

// The day the date steps count from.
long long StepAnchor(const TAlarmRule& rule);

// The checks of a day, from the coarsest on, so a search can skip a year or a month at once:
// a day is one of the rule's dates when its year, its month and the day itself pass.
bool IsAlarmYear(const TAlarmRule& rule, int year);
bool IsAlarmMonth(const TAlarmRule& rule, int year, int month);
// day: the whole date-time value of year-month-dayOfMonth; weekDay 1 (Sunday) to 7.
bool IsAlarmDayOfMonth(const TAlarmRule& rule, int year, int month, int dayOfMonth, long long day,
                       int weekDay);

// Whether a day (a whole date-time value) is one of the rule's dates.
bool IsAlarmDay(const TAlarmRule& rule, long long day);

// The first time of day after `after` (seconds; -1 for the whole day) at which the rule goes
// off on one of its days; nullopt when none is left before midnight.
std::optional<int> NextTimeOfDay(const TAlarmRule& rule, int after);

} // namespace norvale
