#include "core/time/calendar.h"
#include "core/time/format_date_time.h"
#include "core/time/locale_picture.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(LocalePicture, TranslatesDatePictures) {
    EXPECT_EQ(DatePictureToFormat("M/d/yyyy", "/"), "m/d/yyyy");
    EXPECT_EQ(DatePictureToFormat("dd.MM.yyyy", "."), "dd/mm/yyyy");
    EXPECT_EQ(DatePictureToFormat("yyyy-MM-dd", "-"), "yyyy/mm/dd");
    EXPECT_EQ(DatePictureToFormat("d MMM yy", "/"), "d mmm yy");
    EXPECT_EQ(DatePictureToFormat("dddd', 'MMMM d", "/"), "dddd, mmmm d");
    EXPECT_EQ(DatePictureToFormat("gg yyyy/M/d", "/"), " yyyy/m/d");
}

TEST(LocalePicture, TranslatesTimePictures) {
    EXPECT_EQ(TimePictureToFormat("h:mm:ss tt", ":"), "h:nn:ss ampm");
    EXPECT_EQ(TimePictureToFormat("HH:mm:ss", ":"), "hh:nn:ss");
    EXPECT_EQ(TimePictureToFormat("H.mm.ss", "."), "h:nn:ss");
    EXPECT_EQ(TimePictureToFormat("tt hh:mm:ss", ":"), "ampm hh:nn:ss");
}

TEST(LocalePicture, KeepsLiteralTextLiteral) {
    // Letters, slashes and colons that are no tokens must not become tokens.
    EXPECT_EQ(TimePictureToFormat("HH'h'mm", ":"), "hh'h'nn");
    EXPECT_EQ(TimePictureToFormat("H:mm' Uhr'", ":"), "h:nn 'U''h''r'");
    EXPECT_EQ(DatePictureToFormat("d/M/yyyy", "."), "d'/'m'/'yyyy");
    EXPECT_EQ(DatePictureToFormat("d 'de' MMMM", "/"), "d 'd''e' mmmm");
    EXPECT_EQ(DatePictureToFormat("dd''''MM", "/"), "dd\"'\"mm");
}

TEST(LocalePicture, TranslatedFormatsPrintWhatTheLocaleShows) {
    FormatSettings fs = FormatSettings::EnglishUnitedStates();
    const DateTime v = *EncodeDate(2026, 12, 7) + *EncodeTime(9, 5, 3, 0);
    EXPECT_EQ(FormatDateTime(TimePictureToFormat("H:mm' Uhr'", ":"), v, fs), "9:05 Uhr");
    EXPECT_EQ(FormatDateTime(TimePictureToFormat("HH'h'mm", ":"), v, fs), "09h05");
    fs.DateSeparator = ".";
    EXPECT_EQ(FormatDateTime(DatePictureToFormat("d/M/yyyy", "."), v, fs), "7/12/2026");
    EXPECT_EQ(FormatDateTime(DatePictureToFormat("dd.MM.yyyy", "."), v, fs), "07.12.2026");
}

} // namespace
} // namespace norvale
