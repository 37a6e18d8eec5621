#pragma once

#include "core/time/format_settings.h"

namespace norvale::testing {

// The conventions of German (Germany): the day before the month, "." between the parts of a
// date, "," as the decimal separator, the 24-hour clock and German names.
inline FormatSettings GermanGermany() {
    FormatSettings fs;
    fs.ShortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                          "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    fs.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    fs.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    fs.LongDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                       "Donnerstag", "Freitag", "Samstag"};
    fs.DateSeparator = ".";
    fs.TimeSeparator = ":";
    fs.DecimalSeparator = ",";
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.LongTimeFormat = "hh:nn:ss";
    return fs;
}

} // namespace norvale::testing
