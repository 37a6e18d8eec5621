#include "core/time/number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace norvale {
namespace {

TEST(GeneralNumber, WritesTheShortestFixedText) {
    EXPECT_EQ(FormatGeneralNumber(1.5), "1.5"); // 36 hours
    EXPECT_EQ(FormatGeneralNumber(0.0), "0");
    EXPECT_EQ(FormatGeneralNumber(-0.0), "0");
    EXPECT_EQ(FormatGeneralNumber(-2.25), "-2.25");
    EXPECT_EQ(FormatGeneralNumber(46'363.0), "46363");
    EXPECT_EQ(FormatGeneralNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatGeneralNumber(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FormatGeneralNumber(46'363.123456789), "46363.123456789");
    EXPECT_EQ(FormatGeneralNumber(123'456'789'012'345.0), "123456789012345");
    EXPECT_EQ(FormatGeneralNumber(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneralNumber(0.000012345), "0.000012345");
}

TEST(GeneralNumber, UsesAnExponentOnlyForExtremeMagnitudes) {
    EXPECT_EQ(FormatGeneralNumber(0.000001), "1E-6");
    EXPECT_EQ(FormatGeneralNumber(-0.0000015), "-1.5E-6");
    EXPECT_EQ(FormatGeneralNumber(1e15), "1E+15");
    EXPECT_EQ(FormatGeneralNumber(1.25e20), "1.25E+20");
    EXPECT_EQ(FormatGeneralNumber(999'999'999'999'999.0), "999999999999999");
    EXPECT_EQ(FormatGeneralNumber(9'999'999'999'999'999.0), "1E+16");
}

TEST(GeneralNumber, RoundTripsToFifteenDigits) {
    for (const double v : {1.5, 0.1, 1.0 / 86400, 46'363.75, -1234.5678, 1e-7, 3.2e17,
                           10.0 / 86'400, 5.0 / 1440, 45'000.000'011'574}) {
        const auto parsed = ParseGeneralNumber(FormatGeneralNumber(v), ".");
        ASSERT_TRUE(parsed) << v;
        EXPECT_NEAR(*parsed, v, std::fabs(v) * 1e-14) << FormatGeneralNumber(v);
    }
}

TEST(GeneralNumber, ReadsThroughTheLocalesSeparator) {
    EXPECT_EQ(ParseGeneralNumber("1.5", ","), 1.5);
    EXPECT_EQ(ParseGeneralNumber("1,5", ","), 1.5);
    EXPECT_EQ(ParseGeneralNumber(" 2.5 ", "."), 2.5);
    EXPECT_EQ(ParseGeneralNumber("-1.5E-6", "."), -1.5e-6);
    EXPECT_EQ(ParseGeneralNumber("+3", "."), 3.0);
    EXPECT_EQ(ParseGeneralNumber("1E20", "."), 1e20);
}

TEST(GeneralNumber, TextThatDoesNotConvertGivesNothing) {
    for (const char* text : {"", " ", "abc", "1,5", "1.2.3", "nan", "inf", "1e400", "0x10", "1e",
                             "--1", "+-1", "1 2", "12abc"}) {
        EXPECT_FALSE(ParseGeneralNumber(text, ".")) << '"' << text << '"';
    }
    EXPECT_FALSE(ParseGeneralNumber("1.5,5", ","));
}

TEST(GeneralNumber, NonFiniteValuesAreWrittenAsZero) {
    EXPECT_EQ(FormatGeneralNumber(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(FormatGeneralNumber(std::numeric_limits<double>::infinity()), "0");
}

TEST(LocaleNumber, AcceptsOnlyTheLocalesSeparator) {
    EXPECT_EQ(ParseLocaleNumber("42.5", "."), 42.5);
    EXPECT_EQ(ParseLocaleNumber("42,5", ","), 42.5);
    EXPECT_EQ(ParseLocaleNumber("42.5", ","), std::nullopt);
    EXPECT_EQ(ParseLocaleNumber("42,5", "."), std::nullopt);
    EXPECT_EQ(ParseLocaleNumber("-3", ","), -3.0);
    EXPECT_EQ(ParseLocaleNumber("1e3", "."), 1000.0);
    EXPECT_EQ(ParseLocaleNumber("", "."), std::nullopt);
    EXPECT_EQ(ParseLocaleNumber("4,2,5", ","), std::nullopt);
}

} // namespace
} // namespace norvale
