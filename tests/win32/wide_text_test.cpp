#include "win32/wide_text.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

TEST(WideText, RoundTripsUtf8ThroughUtf16) {
    const std::string samples[] = {"", "Norvale Time Clock",
                                   "d\xC3\xA9"
                                   "c.",
                                   "\xE6\x97\xA5", "\xF0\x9F\x95\x92 12:00"};
    for (const std::string& s : samples) {
        EXPECT_EQ(ToUtf8(ToWide(s)), s);
    }
    EXPECT_EQ(ToWide("d\xC3\xA9"
                     "c."),
              L"d\u00E9c.");
    EXPECT_EQ(ToWide("\xF0\x9F\x95\x92").size(), 2u); // a surrogate pair
}

} // namespace
} // namespace norvale::win32
