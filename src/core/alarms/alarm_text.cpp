#include "core/alarms/alarm_text.h"

#include "core/text/ascii.h"
#include "core/text/integer_text.h"
#include "core/time/calendar.h"

#include <algorithm>
#include <cstdio>

namespace norvale {
namespace {

constexpr int kSecondsInDay = 86'400;
constexpr int kLongestSnoozeSeconds = kSecondsInDay;

// Calls item(text) for each comma-separated item with its blanks trimmed; false as soon as
// one is refused. An empty text has no items.
template <class Item>
bool ForEachItem(std::string_view text, Item&& item) {
    if (TrimBlanks(text).empty()) {
        return true;
    }
    for (;;) {
        const std::size_t comma = text.find(',');
        if (!item(TrimBlanks(text.substr(0, comma)))) {
            return false;
        }
        if (comma == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<int> NumberIn(std::string_view text, int first, int last) {
    const std::optional<int> value = ParseDecimalInteger(text);
    if (!value || *value < first || *value > last) {
        return std::nullopt;
    }
    return value;
}

// "dd" digits at text[at], exactly count of them.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigitAscii(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::string FormatValueSet(const TValueSet& set, int first, int last,
                           std::span<const std::string_view> names) {
    if (set.All) {
        return std::string(kAllValues);
    }
    std::string text;
    for (int value = first; value <= last; ++value) {
        if (!set.Has(value)) {
            continue;
        }
        if (!text.empty()) {
            text += ',';
        }
        text += names.empty() ? std::to_string(value)
                              : std::string(names[static_cast<std::size_t>(value - first)]);
    }
    return text;
}

std::optional<TValueSet> ParseValueSet(std::string_view text, int first, int last,
                                       std::span<const std::string_view> names) {
    if (EqualsNoCase(TrimBlanks(text), kAllValues)) {
        return TValueSet{};
    }
    TValueSet set{false, 0};
    const bool read = ForEachItem(text, [&](std::string_view item) {
        if (names.empty()) {
            const std::optional<int> value = NumberIn(item, first, last);
            if (value) {
                set.Set(*value, true);
            }
            return value.has_value();
        }
        const auto found = std::find_if(names.begin(), names.end(), [&](std::string_view name) {
            return EqualsNoCase(name, item);
        });
        if (found != names.end()) {
            set.Set(first + static_cast<int>(found - names.begin()), true);
        }
        return found != names.end();
    });
    return read ? std::optional<TValueSet>(set) : std::nullopt;
}

std::string FormatYears(const TYears& years) {
    if (years.All) {
        return std::string(kAllValues);
    }
    std::string text;
    for (const int year : years.Values) {
        text += (text.empty() ? "" : ",") + std::to_string(year);
    }
    return text;
}

std::optional<TYears> ParseYears(std::string_view text) {
    if (EqualsNoCase(TrimBlanks(text), kAllValues)) {
        return TYears{};
    }
    TYears years{false, {}};
    const bool read = ForEachItem(text, [&](std::string_view item) {
        const std::optional<int> year = NumberIn(item, kMinYear, kMaxYear);
        if (year) {
            years.Values.push_back(*year);
        }
        return year.has_value();
    });
    if (!read) {
        return std::nullopt;
    }
    std::sort(years.Values.begin(), years.Values.end());
    years.Values.erase(std::unique(years.Values.begin(), years.Values.end()), years.Values.end());
    return years;
}

std::string FormatIsoDate(long long day) {
    const CalendarDate date = DecodeDate(static_cast<double>(day));
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

std::optional<long long> ParseIsoDate(std::string_view text) {
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !year || !month || !day) {
        return std::nullopt;
    }
    const std::optional<DateTime> date = EncodeDate(*year, *month, *day);
    return date ? std::optional<long long>(static_cast<long long>(*date)) : std::nullopt;
}

std::string FormatTimeOfDay(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

std::optional<int> ParseTimeOfDay(std::string_view text) {
    const auto hour = Digits(text, 0, 2);
    const auto minute = Digits(text, 3, 2);
    const auto second = Digits(text, 6, 2);
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !hour || !minute || !second ||
        *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return (*hour * 60 + *minute) * 60 + *second;
}

std::string FormatSnooze(int seconds) {
    char text[24];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::optional<int> ParseSnooze(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 4 || text.size() != colon + 3) {
        return std::nullopt;
    }
    const auto minutes = Digits(text, 0, colon);
    const auto seconds = Digits(text, colon + 1, 2);
    if (!minutes || !seconds || *seconds > 59) {
        return std::nullopt;
    }
    const int total = *minutes * 60 + *seconds;
    if (total < 1 || total > kLongestSnoozeSeconds) {
        return std::nullopt;
    }
    return total;
}

std::string_view EveryUnitName(TEveryUnit unit) {
    return kEveryUnitNames[static_cast<std::size_t>(unit)];
}

std::optional<TEveryUnit> ParseEveryUnit(std::string_view text) {
    for (std::size_t i = 0; i < kEveryUnitNames.size(); ++i) {
        if (EqualsNoCase(TrimBlanks(text), kEveryUnitNames[i])) {
            return static_cast<TEveryUnit>(i);
        }
    }
    return std::nullopt;
}

} // namespace norvale
