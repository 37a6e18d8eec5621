#include "core/time/calendar.h"
#include "core/time/format_date_time.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, ms);
}

class FormatDateTimeTest : public ::testing::Test {
protected:
    FormatSettings fs = FormatSettings::EnglishUnitedStates();
};

TEST_F(FormatDateTimeTest, TimeTokens) {
    EXPECT_EQ(FormatDateTime("H:nn:ss", At(2026, 12, 7, 9, 5, 3), fs), "9:05:03");
    EXPECT_EQ(FormatDateTime("hh:nn:ss", At(2026, 12, 7, 9, 5, 3), fs), "09:05:03");
    EXPECT_EQ(FormatDateTime("h:n:s", At(2026, 12, 7, 9, 5, 3), fs), "9:5:3");
    EXPECT_EQ(FormatDateTime("HH:NN:SS.zzz", At(2026, 12, 7, 23, 59, 58, 7), fs), "23:59:58.007");
    // m and mm straight after an hour token are minutes, elsewhere the month.
    EXPECT_EQ(FormatDateTime("h:mm m", At(2026, 12, 7, 9, 5, 3), fs), "9:05 12");
}

TEST_F(FormatDateTimeTest, AmPmSwitchesTheSameFormatToTwelveHours) {
    EXPECT_EQ(FormatDateTime("hh:nn:ss am/pm", At(2026, 12, 7, 15, 4, 5), fs), "03:04:05 pm");
    EXPECT_EQ(FormatDateTime("hh:nn:ss am/pm", At(2026, 12, 7, 0, 30, 0), fs), "12:30:00 am");
    EXPECT_EQ(FormatDateTime("h AM/PM", At(2026, 12, 7, 12, 0, 0), fs), "12 PM");
    EXPECT_EQ(FormatDateTime("h a/p", At(2026, 12, 7, 11, 59, 59), fs), "11 a");
    EXPECT_EQ(FormatDateTime("h ampm", At(2026, 12, 7, 13, 0, 0), fs), "1 PM");
    // The marker's case follows the format; a marker anywhere switches every hour.
    EXPECT_EQ(FormatDateTime("Am/Pm hh", At(2026, 12, 7, 23, 0, 0), fs), "Pm 11");
    EXPECT_EQ(FormatDateTime("am/pm", At(2026, 12, 7, 12, 0, 0), fs), "pm");
}

TEST_F(FormatDateTimeTest, DateTokensAndNames) {
    const DateTime v = At(2026, 12, 7, 15, 4, 5);
    EXPECT_EQ(FormatDateTime("mmm dd", v, fs), "Dec 07");
    EXPECT_EQ(FormatDateTime("dddd", v, fs), "Monday");
    EXPECT_EQ(FormatDateTime("ddd d mmmm yyyy", v, fs), "Mon 7 December 2026");
    EXPECT_EQ(FormatDateTime("dd/mm/yy", v, fs), "07/12/26");
    EXPECT_EQ(FormatDateTime("MMM DD DDDD", At(2027, 1, 3, 0, 0, 0), fs), "Jan 03 Sunday");
}

TEST_F(FormatDateTimeTest, SeparatorsAndNamesComeFromTheSettings) {
    fs.TimeSeparator = ".";
    fs.DateSeparator = "-";
    fs.ShortMonthNames[11] = "dic";
    EXPECT_EQ(FormatDateTime("hh:nn:ss", At(2026, 12, 7, 9, 5, 3), fs), "09.05.03");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd mmm", At(2026, 12, 7, 9, 5, 3), fs), "2026-12-07 dic");
}

TEST_F(FormatDateTimeTest, QuotedAndUnknownCharactersAreLiteral) {
    const DateTime v = At(2026, 12, 7, 9, 5, 3);
    EXPECT_EQ(FormatDateTime("'h:nn' \"dd\" hh", v, fs), "h:nn dd 09");
    EXPECT_EQ(FormatDateTime("[hh]# ", v, fs), "[09]# ");
    EXPECT_EQ(FormatDateTime("'open", v, fs), "open");
    EXPECT_EQ(FormatDateTime("", v, fs), "");
}

TEST_F(FormatDateTimeTest, NegativeValuesShowTheTimeOfTheirMagnitude) {
    const DateTime span = (9 * 3600 + 5 * 60 + 3) * kOneSecond;
    EXPECT_EQ(FormatDateTime("hh:nn:ss", -span, fs), "09:05:03");
}

TEST_F(FormatDateTimeTest, LocaleDateTimeLeavesOutMidnight) {
    EXPECT_EQ(FormatLocaleDateTime(At(2026, 12, 7, 15, 4, 5), fs), "12/7/2026 3:04:05 PM");
    EXPECT_EQ(FormatLocaleDateTime(At(2026, 12, 7, 0, 0, 0), fs), "12/7/2026");
    // Milliseconds alone do not count as a time of day.
    EXPECT_EQ(FormatLocaleDateTime(At(2026, 12, 7, 0, 0, 0, 999), fs), "12/7/2026");
    EXPECT_EQ(FormatLocaleDateTime(10 * kOneSecond, fs), "12/30/1899 12:00:10 AM");
}

TEST_F(FormatDateTimeTest, SelfReferentialLocaleFormatsStop) {
    fs.ShortDateFormat = "c ddddd";
    fs.LongTimeFormat = "c";
    const std::string text = FormatLocaleDateTime(At(2026, 12, 7, 1, 0, 0), fs);
    EXPECT_LT(text.size(), 64u);
}

} // namespace
} // namespace norvale
