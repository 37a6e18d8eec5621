#pragma once

#include <array>
#include <string>

namespace norvale {

// The date, time and number conventions of one locale, as the format language and the stored
// date-time texts use them. Texts are UTF-8. The formats are written in the format language
// (format_date_time.h), not in the platform's own picture syntax.
struct FormatSettings {
    std::array<std::string, 12> ShortMonthNames;
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames; // Sunday first
    std::array<std::string, 7> LongDayNames;  // Sunday first
    std::string DateSeparator;
    std::string TimeSeparator;
    std::string DecimalSeparator;
    std::string ShortDateFormat;
    std::string LongTimeFormat;
    std::string TimeAMString;
    std::string TimePMString;

    // The fixed English (United States) conventions, used where no platform locale exists.
    static FormatSettings EnglishUnitedStates();
};

} // namespace norvale
