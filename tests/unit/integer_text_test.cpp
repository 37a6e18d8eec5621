#include "core/text/integer_text.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(ParseDecimalInteger, ReadsSignedDigitsWithinThirtyTwoBits) {
    EXPECT_EQ(ParseDecimalInteger("0"), 0);
    EXPECT_EQ(ParseDecimalInteger("+0100"), 100);
    EXPECT_EQ(ParseDecimalInteger("-0500"), -500);
    EXPECT_EQ(ParseDecimalInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimalInteger("-2147483648"), -2147483647 - 1);
}

TEST(ParseDecimalInteger, RefusesEverythingElse) {
    for (const char* text : {"", "+", "-", "2147483648", "-2147483649", "+-5", " 5", "5 ", "1.0",
                             "0x10", "12a", "99999999999999999999"}) {
        EXPECT_EQ(ParseDecimalInteger(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace norvale
