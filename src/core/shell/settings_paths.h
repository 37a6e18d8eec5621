#pragma once

#include <string_view>

namespace norvale {

// Where the clock keeps its settings, under HKEY_CURRENT_USER.
inline constexpr std::string_view kMainSettingsPath = "Software\\Brannick\\NorvaleTimeClock";

} // namespace norvale
