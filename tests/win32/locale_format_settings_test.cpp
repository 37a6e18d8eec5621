#include "core/time/calendar.h"
#include "core/time/format_date_time.h"
#include "win32/locale_format_settings.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

// The test run sets Wine's locale to English (United States).
TEST(UserFormatSettings, ReadsTheEnglishUnitedStatesLocale) {
    const FormatSettings fs = ReadUserFormatSettings();
    EXPECT_EQ(fs.LongMonthNames[0], "January");
    EXPECT_EQ(fs.ShortMonthNames[11], "Dec");
    EXPECT_EQ(fs.LongDayNames[0], "Sunday");
    EXPECT_EQ(fs.ShortDayNames[1], "Mon");
    EXPECT_EQ(fs.TimeSeparator, ":");
    EXPECT_EQ(fs.DateSeparator, "/");
    EXPECT_EQ(fs.DecimalSeparator, ".");
    EXPECT_EQ(fs.ShortDateFormat, "m/d/yyyy");
    EXPECT_EQ(fs.LongTimeFormat, "h:nn:ss ampm");
    EXPECT_EQ(fs.TimeAMString, "AM");
    EXPECT_EQ(fs.TimePMString, "PM");
}

// Whatever the locale, our texts match what the platform itself formats.
TEST(UserFormatSettings, FormatsLikeThePlatform) {
    const FormatSettings fs = ReadUserFormatSettings();
    SYSTEMTIME st{};
    st.wYear = 2026;
    st.wMonth = 12;
    st.wDay = 7;
    st.wDayOfWeek = 1;
    st.wHour = 15;
    st.wMinute = 4;
    st.wSecond = 5;
    wchar_t date[64];
    wchar_t time[64];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64), 0);
    ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 64), 0);

    const DateTime v = *EncodeDate(2026, 12, 7) + *EncodeTime(15, 4, 5, 0);
    EXPECT_EQ(FormatLocaleDateTime(v, fs), ToUtf8(date) + " " + ToUtf8(time));
    EXPECT_EQ(ParseLocaleDateTime(FormatLocaleDateTime(v, fs), fs), v);
}

} // namespace
} // namespace norvale::win32
