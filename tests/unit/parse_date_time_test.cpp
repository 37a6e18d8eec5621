#include "core/time/calendar.h"
#include "core/time/format_date_time.h"
#include "support/german_format.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s) {
    return CombineDateTime(*EncodeDate(y, mo, d), *EncodeTime(h, mi, s, 0));
}

using testing::GermanGermany;

FormatSettings Swedish() {
    FormatSettings fs = FormatSettings::EnglishUnitedStates();
    fs.DateSeparator = "-";
    fs.ShortDateFormat = "yyyy/mm/dd";
    fs.LongTimeFormat = "hh:nn:ss";
    return fs;
}

TEST(ParseLocaleDateTime, RoundTripsWhatTheFormatterWrites) {
    const DateTime values[] = {At(2026, 12, 7, 15, 4, 5),
                               At(2026, 12, 7, 0, 0, 0),
                               At(2026, 12, 7, 0, 0, 1),
                               At(2026, 12, 7, 12, 0, 0),
                               At(2026, 12, 7, 23, 59, 59),
                               At(1, 1, 1, 0, 0, 0),
                               At(9999, 12, 31, 23, 59, 59),
                               At(1800, 6, 15, 18, 30, 0),
                               10 * kOneSecond,
                               0.0};
    for (const FormatSettings& fs :
         {FormatSettings::EnglishUnitedStates(), GermanGermany(), Swedish()}) {
        for (const DateTime v : values) {
            const std::string text = FormatLocaleDateTime(v, fs);
            const auto parsed = ParseLocaleDateTime(text, fs);
            ASSERT_TRUE(parsed) << text;
            EXPECT_NEAR(*parsed, v, 1e-9) << text;
        }
    }
}

TEST(ParseLocaleDateTime, ReadsTheLocalesDateOrder) {
    EXPECT_EQ(ParseLocaleDateTime("3/4/2026", FormatSettings::EnglishUnitedStates()),
              EncodeDate(2026, 3, 4));
    EXPECT_EQ(ParseLocaleDateTime("03.04.2026", GermanGermany()), EncodeDate(2026, 4, 3));
    EXPECT_EQ(ParseLocaleDateTime("2026-03-04", Swedish()), EncodeDate(2026, 3, 4));
    // The same text under another order is another date, or none.
    EXPECT_EQ(ParseLocaleDateTime("12/7/2026", FormatSettings::EnglishUnitedStates()),
              EncodeDate(2026, 12, 7));
    EXPECT_FALSE(ParseLocaleDateTime("12/7/2026", GermanGermany()));
}

TEST(ParseLocaleDateTime, AcceptsTimesWithAndWithoutMarkers) {
    const FormatSettings us = FormatSettings::EnglishUnitedStates();
    EXPECT_EQ(ParseLocaleDateTime("12:00:10 AM", us), *EncodeTime(0, 0, 10, 0));
    EXPECT_EQ(ParseLocaleDateTime("12:30 pm", us), *EncodeTime(12, 30, 0, 0));
    EXPECT_EQ(ParseLocaleDateTime("PM 1:15:00", us), *EncodeTime(13, 15, 0, 0));
    EXPECT_EQ(ParseLocaleDateTime("  13:15:00.250 ", us), *EncodeTime(13, 15, 0, 250));
    EXPECT_EQ(ParseLocaleDateTime("1/2/30 6:00:00", us), At(2030, 1, 2, 6, 0, 0));
    EXPECT_EQ(ParseLocaleDateTime("1/2/75 6:00:00", us), At(1975, 1, 2, 6, 0, 0));
}

TEST(ParseLocaleDateTime, RejectsTextThatIsNoDateTime) {
    const FormatSettings us = FormatSettings::EnglishUnitedStates();
    for (const char* text :
         {"", "   ", "abc", "13/45/2026", "2/29/2026", "12/7", "12/7/2026 25:00:00",
          "12/7/2026 13:00:00 PM", "12/7/2026 0:00:00 AM", "12/7/2026 3:04:05 PM x", "12/7/2026 3",
          "12/7/2026 3:", "1234567890/1/2026", "12/7/10000", "-1/2/2026"}) {
        EXPECT_FALSE(ParseLocaleDateTime(text, us)) << '"' << text << '"';
    }
}

} // namespace
} // namespace norvale
