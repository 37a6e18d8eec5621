#include "core/time/format_settings.h"

namespace norvale {

FormatSettings FormatSettings::EnglishUnitedStates() {
    FormatSettings fs;
    fs.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    fs.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                         "July",    "August",   "September", "October", "November", "December"};
    fs.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    fs.LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                       "Thursday", "Friday", "Saturday"};
    fs.DateSeparator = "/";
    fs.TimeSeparator = ":";
    fs.DecimalSeparator = ".";
    fs.ShortDateFormat = "m/d/yyyy";
    fs.LongTimeFormat = "h:nn:ss ampm";
    fs.TimeAMString = "AM";
    fs.TimePMString = "PM";
    return fs;
}

} // namespace norvale
