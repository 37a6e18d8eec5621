#include "core/alarms/alarm_store.h"

#include "core/alarms/alarm_text.h"
#include "core/text/ascii.h"
#include "core/text/integer_text.h"
#include "core/time/iso_date_time.h"

#include <algorithm>
#include <stdexcept>

namespace norvale {
namespace {

// A stored value that is there but cannot be read.
class UnreadableValue : public std::runtime_error {
public:
    UnreadableValue(std::string_view name, std::string_view text)
        : std::runtime_error("The value \"" + std::string(name) + "\" cannot be read: \"" +
                             std::string(text) + "\"") {}
};

// Reads one text value with its parser; a missing value leaves `field` as it is.
template <class Field, class Parse>
void ReadValue(const RegistryKey& key, std::string_view name, Field& field, Parse&& parse) {
    if (!key.ValueExists(name)) {
        return;
    }
    const std::string text = key.ReadString(name);
    const auto value = parse(text);
    if (!value) {
        throw UnreadableValue(name, text);
    }
    field = *value;
}

std::optional<bool> ParseEnabled(std::string_view text) {
    if (EqualsNoCase(TrimBlanks(text), "True")) {
        return true;
    }
    if (EqualsNoCase(TrimBlanks(text), "False")) {
        return false;
    }
    return std::nullopt;
}

std::optional<std::optional<long long>> ParseOptionalDate(std::string_view text) {
    if (TrimBlanks(text).empty()) {
        return std::optional<long long>();
    }
    const std::optional<long long> day = ParseIsoDate(TrimBlanks(text));
    return day ? std::optional<std::optional<long long>>(day) : std::nullopt;
}

TScheduledAlarm ReadAlarm(const RegistryKey& key) {
    TScheduledAlarm stored;
    TAlarm& alarm = stored.Alarm;
    TAlarmRule& rule = alarm.Rule;
    alarm.Name = key.ReadString("Name");
    ReadValue(key, "Enabled", alarm.Enabled, ParseEnabled);
    TYears years{rule.AllYears, rule.Years};
    ReadValue(key, "Years", years, ParseYears);
    rule.AllYears = years.All;
    rule.Years = years.Values;
    ReadValue(key, "Months", rule.Months,
              [](std::string_view text) { return ParseValueSet(text, 1, 12, kMonthNames); });
    ReadValue(key, "Weeks", rule.Weeks,
              [](std::string_view text) { return ParseValueSet(text, 1, kLastWeek, kWeekNames); });
    ReadValue(key, "WeekDays", rule.WeekDays,
              [](std::string_view text) { return ParseValueSet(text, 1, 7, kWeekDayNames); });
    ReadValue(key, "Days", rule.Days,
              [](std::string_view text) { return ParseValueSet(text, 1, 31); });
    ReadValue(key, "StartDate", rule.Start, ParseOptionalDate);
    ReadValue(key, "EndDate", rule.End, ParseOptionalDate);
    ReadValue(key, "Time", rule.TimeOfDay, ParseTimeOfDay);
    ReadValue(key, "Every", rule.Every, [](std::string_view text) {
        const std::optional<int> every = ParseDecimalInteger(TrimBlanks(text));
        return every && *every >= 1 && *every <= kLongestEvery ? every : std::nullopt;
    });
    ReadValue(key, "Unit", rule.Unit, ParseEveryUnit);
    alarm.Sound = key.ReadString("Sound");
    ReadValue(key, "Snooze", alarm.SnoozeSeconds, ParseSnooze);
    // The pending moment is the clock's own note; a damaged one is only forgotten.
    stored.Next = ParseIsoDateTime(key.ReadString("Next"));
    return stored;
}

void WriteAlarm(RegistryKey& key, const TScheduledAlarm& stored) {
    const TAlarm& alarm = stored.Alarm;
    const TAlarmRule& rule = alarm.Rule;
    const auto date = [](const std::optional<long long>& day) {
        return day ? FormatIsoDate(*day) : std::string();
    };
    key.WriteString("Name", alarm.Name);
    key.WriteString("Enabled", alarm.Enabled ? "True" : "False");
    key.WriteString("Years", FormatYears({rule.AllYears, rule.Years}));
    key.WriteString("Months", FormatValueSet(rule.Months, 1, 12, kMonthNames));
    key.WriteString("Weeks", FormatValueSet(rule.Weeks, 1, kLastWeek, kWeekNames));
    key.WriteString("WeekDays", FormatValueSet(rule.WeekDays, 1, 7, kWeekDayNames));
    key.WriteString("Days", FormatValueSet(rule.Days, 1, 31));
    key.WriteString("StartDate", date(rule.Start));
    key.WriteString("EndDate", date(rule.End));
    key.WriteString("Time", FormatTimeOfDay(rule.TimeOfDay));
    key.WriteString("Every", std::to_string(rule.Every));
    key.WriteString("Unit", EveryUnitName(rule.Unit));
    key.WriteString("Sound", alarm.Sound);
    key.WriteString("Snooze", FormatSnooze(alarm.SnoozeSeconds));
    if (const std::optional<std::string> next =
            stored.Next ? FormatIsoDateTime(*stored.Next) : std::nullopt) {
        key.WriteString("Next", *next);
    } else {
        key.DeleteValue("Next");
    }
}

// Numbered subkeys first, by number; any others after them, by name.
bool KeyOrder(const std::string& a, const std::string& b) {
    const std::optional<int> x = ParseDecimalInteger(a);
    const std::optional<int> y = ParseDecimalInteger(b);
    if (x && y) {
        return *x < *y;
    }
    if (x || y) {
        return x.has_value();
    }
    return RegistryNameLess()(a, b);
}

} // namespace

TStoredAlarms ReadStoredAlarms(Registry& registry) {
    TStoredAlarms result;
    const auto alarms =
        registry.OpenKey(RegistryRoot::CurrentUser, kAlarmsKeyPath, false, RegistryAccess::Read);
    if (!alarms) {
        return result;
    }
    std::vector<std::string> names = alarms->SubkeyNames();
    std::sort(names.begin(), names.end(), KeyOrder);
    for (const std::string& name : names) {
        try {
            const auto key = registry.OpenKey(RegistryRoot::CurrentUser,
                                              std::string(kAlarmsKeyPath) + "\\" + name, false,
                                              RegistryAccess::Read);
            if (!key) {
                throw RegistryError("The key cannot be opened");
            }
            TScheduledAlarm alarm = ReadAlarm(*key);
            alarm.Key = name;
            result.Alarms.push_back(std::move(alarm));
        } catch (const std::exception& error) {
            result.Unreadable.push_back(name);
            result.Report += std::string(result.Report.empty() ? "" : "\n") + "The alarm kept as " +
                             "\"Alarms\\" + name + "\" cannot be read and is left out. " +
                             error.what() + ".";
        }
    }
    return result;
}

std::vector<std::string> WriteStoredAlarms(Registry& registry,
                                           const std::vector<TScheduledAlarm>& alarms,
                                           const std::vector<std::string>& keep) {
    const auto parent =
        registry.OpenKey(RegistryRoot::CurrentUser, kAlarmsKeyPath, true, RegistryAccess::Full);
    if (!parent) {
        throw RegistryError("Failed to create key " + std::string(kAlarmsKeyPath));
    }
    const std::vector<std::string> existing = parent->SubkeyNames();
    long long highest = 0;
    for (const std::string& name : existing) {
        highest = std::max<long long>(highest, ParseDecimalInteger(name).value_or(0));
    }
    std::vector<std::string> keys;
    for (const TScheduledAlarm& alarm : alarms) {
        keys.push_back(alarm.Key.empty() ? std::to_string(++highest) : alarm.Key);
        const auto key = registry.OpenKey(RegistryRoot::CurrentUser,
                                          std::string(kAlarmsKeyPath) + "\\" + keys.back(), true,
                                          RegistryAccess::Full);
        if (!key) {
            throw RegistryError("Failed to create key " + keys.back());
        }
        WriteAlarm(*key, alarm);
    }
    const auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& other) {
            return !RegistryNameLess()(name, other) && !RegistryNameLess()(other, name);
        });
    };
    for (const std::string& name : existing) {
        if (!listed(keys, name) && !listed(keep, name)) {
            parent->DeleteSubkey(name);
        }
    }
    return keys;
}

} // namespace norvale
