#pragma once

#include "core/platform/date_time.h"
#include "core/time/format_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace norvale {

// Formats a value in the date/time format language. Letters are case-insensitive:
//   h hh        hour, without / with leading zero; 12-hour when the format holds an am/pm
//               marker anywhere (12 stands for hour 0)
//   n nn        minutes; m mm directly after an hour token also mean minutes
//   s ss        seconds          z zzz   milliseconds
//   d dd        day of month     ddd dddd  short / long weekday name   ddddd  short date
//   m mm        month number     mmm mmmm  short / long month name
//   yy yyyy     two- / four-digit year
//   am/pm a/p   the marker in the case it is written in; ampm the locale's own markers
//   c           short date, and the long time unless the time of day is 00:00:00
//   :  /        the locale's time and date separators
//   '...' "..." literal text; any other character stands for itself
// Names and separators come from the settings. A negative value shows the time of day of
// its magnitude.
std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& fs);

// The locale date-time text of the stored settings: short date, a blank and the long time,
// the time left out when it is 00:00:00.
std::string FormatLocaleDateTime(DateTime value, const FormatSettings& fs);

// Reads a locale date-time text back: a date in the order of the short date format with the
// locale's date separator, a time with the time separator (seconds and milliseconds
// optional, an am/pm marker before or after it), or both, separated by blanks. Two-digit
// years are read as 1950 to 2049. nullopt when the text is not such a date-time.
std::optional<DateTime> ParseLocaleDateTime(std::string_view text, const FormatSettings& fs);

} // namespace norvale
