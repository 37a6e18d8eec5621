#pragma once

#include "core/platform/date_time.h"

#include <optional>
#include <string>
#include <string_view>

namespace norvale {

// A date-time as text that reads the same under every regional format: ISO 8601's
// "2027-01-02T03:04:05", to the whole second (the milliseconds are dropped, as the locale
// text of the stored settings drops them). nullopt before 1899-12-30 and after 9999-12-31.
std::optional<std::string> FormatIsoDateTime(DateTime value);

// Reads exactly that form back; nullopt for any other text and for a date or time of day
// that does not exist.
std::optional<DateTime> ParseIsoDateTime(std::string_view text);

} // namespace norvale
