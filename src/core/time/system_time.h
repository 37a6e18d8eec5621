#pragma once

#include "core/platform/date_time.h"
#include "core/platform/win_types.h"

#include <optional>

namespace norvale {

// A date-time as the platform's SYSTEMTIME, rounded to the nearest millisecond (a value that
// rounds up to midnight gives the next day). nullopt before 1899-12-30 or after 9999-12-31,
// where the value has no calendar date of the kind SYSTEMTIME holds.
std::optional<SYSTEMTIME> DateTimeToSystemTime(DateTime value);

// The date-time of a SYSTEMTIME (its day of the week is not read); nullopt when its date or
// time of day does not exist.
std::optional<DateTime> SystemTimeToDateTime(const SYSTEMTIME& time);

} // namespace norvale
