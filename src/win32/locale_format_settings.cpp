#include "win32/locale_format_settings.h"

#include "core/time/locale_picture.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

namespace norvale::win32 {
namespace {

std::string LocaleText(LCTYPE type, std::string_view fallback) {
    wchar_t buffer[128];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
    if (length <= 1) {
        return std::string(fallback);
    }
    return ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)));
}

} // namespace

FormatSettings ReadUserFormatSettings() {
    // Each text falls back to the English (United States) one where the locale lacks it.
    const FormatSettings english = FormatSettings::EnglishUnitedStates();
    FormatSettings fs;
    for (int i = 0; i < 12; ++i) {
        const auto k = static_cast<std::size_t>(i);
        fs.ShortMonthNames[k] =
            LocaleText(LOCALE_SABBREVMONTHNAME1 + i, english.ShortMonthNames[k]);
        fs.LongMonthNames[k] = LocaleText(LOCALE_SMONTHNAME1 + i, english.LongMonthNames[k]);
    }
    // The locale numbers its days from Monday; the settings keep them from Sunday.
    for (int i = 0; i < 7; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int monday = (i + 6) % 7;
        fs.ShortDayNames[k] = LocaleText(LOCALE_SABBREVDAYNAME1 + monday, english.ShortDayNames[k]);
        fs.LongDayNames[k] = LocaleText(LOCALE_SDAYNAME1 + monday, english.LongDayNames[k]);
    }
    fs.DateSeparator = LocaleText(LOCALE_SDATE, english.DateSeparator);
    fs.TimeSeparator = LocaleText(LOCALE_STIME, english.TimeSeparator);
    fs.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, english.DecimalSeparator);
    fs.TimeAMString = LocaleText(LOCALE_S1159, english.TimeAMString);
    fs.TimePMString = LocaleText(LOCALE_S2359, english.TimePMString);
    fs.ShortDateFormat =
        DatePictureToFormat(LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy"), fs.DateSeparator);
    fs.LongTimeFormat =
        TimePictureToFormat(LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt"), fs.TimeSeparator);
    return fs;
}

} // namespace norvale::win32
