#pragma once

#include <string_view>

// The keys of the Registry port the program keeps its data under, shared by the settings
// stores, the time server, the alarms and the start-up entry.

namespace norvale {

// Where the clock keeps its settings, under HKEY_CURRENT_USER: the store's key and its section.
inline constexpr std::string_view kMainSettingsKey = "Software\\Brannick";
inline constexpr std::string_view kMainSettingsSection = "NorvaleTimeClock";
inline constexpr std::string_view kMainSettingsPath = "Software\\Brannick\\NorvaleTimeClock";

// The programs the system starts at log-on, under HKEY_CURRENT_USER.
inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace norvale
