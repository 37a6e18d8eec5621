#include "core/text/utf16.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(Utf8ToUtf16, ConvertsEveryLengthOfSequence) {
    EXPECT_EQ(Utf8ToUtf16("GMT"), u"GMT");
    EXPECT_EQ(Utf8ToUtf16("Z\xC3\xBCrich"), u"Z\u00FCrich");
    EXPECT_EQ(Utf8ToUtf16("\xE6\x9D\xB1\xE4\xBA\xAC"), u"\u6771\u4EAC");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x95\x90"), u"\U0001F550"); // a surrogate pair
    EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8ToUtf16, ReplacesMalformedBytesOneByOne) {
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");                               // cut short
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                     // overlong "/"
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");           // a surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // past U+10FFFF
}

TEST(IsWellFormedUtf8, AcceptsWellFormedTextOnly) {
    EXPECT_TRUE(IsWellFormedUtf8(""));
    EXPECT_TRUE(IsWellFormedUtf8("Z\xC3\xBCrich \xE6\x9D\xB1 \xF0\x9F\x95\x90"));
    EXPECT_TRUE(IsWellFormedUtf8(std::string("a\0b", 3)));
    for (const char* bad :
         {"a\xFF", "\xC3", "x\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x9D"}) {
        EXPECT_FALSE(IsWellFormedUtf8(bad)) << bad;
    }
}

} // namespace
} // namespace norvale
