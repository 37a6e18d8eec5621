#pragma once

#include "core/alarms/alarm_scheduler.h"
#include "core/platform/registry.h"

#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// Where the alarms are kept, under HKEY_CURRENT_USER: one subkey per alarm, named by a number,
// holding readable texts (alarm_text.h). The Alarms window keeps its place in the key itself.
inline constexpr std::string_view kAlarmsKeyPath = "Software\\Brannick\\NorvaleTimeClock\\Alarms";

struct TStoredAlarms {
    // In the order of their subkeys' numbers; each with its Key and its pending moment (Next).
    std::vector<TScheduledAlarm> Alarms;
    // The subkeys that hold no readable alarm; they are left as they are.
    std::vector<std::string> Unreadable;
    // What the user is told of the unreadable ones, in one message; empty when all read.
    std::string Report;
};

// Reads every stored alarm; never raises. A value that is missing takes its default (the
// alarm's time is midnight, its rule allows every day); a value that is there but cannot be
// read makes its alarm unreadable, and the others are kept.
TStoredAlarms ReadStoredAlarms(Registry& registry);

// Writes every alarm under its own subkey, a new one under the number after the highest, and
// deletes the subkeys of alarms that are gone, except the unreadable ones listed in `keep`.
// Returns each alarm's subkey, in list order. Raises RegistryError when a write fails.
std::vector<std::string> WriteStoredAlarms(Registry& registry,
                                           const std::vector<TScheduledAlarm>& alarms,
                                           const std::vector<std::string>& keep);

} // namespace norvale
