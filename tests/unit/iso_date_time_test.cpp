#include "core/time/calendar.h"
#include "core/time/iso_date_time.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, ms);
}

TEST(IsoDateTime, WritesTheDateAndTheTimeToTheSecond) {
    EXPECT_EQ(FormatIsoDateTime(At(2027, 1, 2, 3, 4, 5)), "2027-01-02T03:04:05");
    EXPECT_EQ(FormatIsoDateTime(At(2026, 12, 7, 23, 59, 59, 999)), "2026-12-07T23:59:59");
    EXPECT_EQ(FormatIsoDateTime(0), "1899-12-30T00:00:00");
    EXPECT_EQ(FormatIsoDateTime(At(9999, 12, 31, 23, 59, 59)), "9999-12-31T23:59:59");
    // Beyond the calendar a SYSTEMTIME holds there is no such text.
    EXPECT_EQ(FormatIsoDateTime(-1.5), std::nullopt);
    EXPECT_EQ(FormatIsoDateTime(At(9999, 12, 31, 0, 0, 0) + 1), std::nullopt);
}

TEST(IsoDateTime, ReadsBackWhatItWrites) {
    for (const DateTime value : {At(2027, 1, 2, 3, 4, 5), At(2028, 2, 29, 12, 0, 0), 0.0,
                                 At(1900, 3, 1, 0, 0, 1), At(9999, 12, 31, 23, 59, 59)}) {
        const std::optional<std::string> text = FormatIsoDateTime(value);
        ASSERT_TRUE(text);
        const std::optional<DateTime> back = ParseIsoDateTime(*text);
        ASSERT_TRUE(back) << *text;
        EXPECT_NEAR(*back, value, 1e-9) << *text;
    }
}

TEST(IsoDateTime, ReadsNothingButExactlyThatForm) {
    for (const char* text :
         {"", "2027-01-02", "2027-01-02 03:04:05", "2027-01-02T03:04", "2027-1-02T03:04:05",
          "2027-01-02T03:04:05Z", " 2027-01-02T03:04:05", "2027-01-02t03:04:05",
          "2027/01/02T03:04:05", "2027-01-02T03:04:5x", "+027-01-02T03:04:05"}) {
        EXPECT_EQ(ParseIsoDateTime(text), std::nullopt) << text;
    }
}

TEST(IsoDateTime, ReadsNoDateOrTimeThatDoesNotExist) {
    for (const char* text : {"2027-02-29T00:00:00", "2027-13-01T00:00:00", "2027-00-10T00:00:00",
                             "2027-04-31T00:00:00", "2027-01-02T24:00:00", "2027-01-02T23:60:00",
                             "2027-01-02T23:59:60", "0000-01-01T00:00:00"}) {
        EXPECT_EQ(ParseIsoDateTime(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace norvale
