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

// The bytes of text in UTF-16, in either byte order, with or without a byte order mark.
std::string Utf16Bytes(std::u16string_view text, bool big, bool mark) {
    std::string bytes;
    for (const char16_t unit : mark ? u"\uFEFF" + std::u16string(text) : std::u16string(text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += big ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(XmlTextAsUtf8, ReadsUtf16InEitherByteOrderAndDropsAByteOrderMark) {
    const std::string text = "<a>\xC3\xA9\xF0\x9F\x95\x90</a>"; // e acute and a clock face
    const std::u16string wide = u"<a>\u00E9\U0001F550</a>";
    for (const bool big : {false, true}) {
        for (const bool mark : {false, true}) {
            EXPECT_EQ(XmlTextAsUtf8(Utf16Bytes(wide, big, mark)), text) << big << mark;
        }
    }
    EXPECT_EQ(XmlTextAsUtf8("\xEF\xBB\xBF" + text), text);
    EXPECT_EQ(XmlTextAsUtf8(text), text);
    EXPECT_EQ(XmlTextAsUtf8(Utf16Bytes(u"<a>\xD800</a>", false, true)), "<a>\xEF\xBF\xBD</a>");
}

TEST(EscapeControls, WritesControlCharactersAndBrokenBytesAsHex) {
    EXPECT_EQ(EscapeControls("a\x1B[2Jb\x07"), "a\\x1B[2Jb\\x07");
    EXPECT_EQ(EscapeControls("\xC2\x9B"
                             "2J\x7F"),
              "\\x9B2J\\x7F"); // C1 and DEL
    EXPECT_EQ(EscapeControls("\xFFok\xC3"), "\\xFFok\\xC3");
    EXPECT_EQ(EscapeControls("line\nnext\t"), "line\\x0Anext\\x09");
    EXPECT_EQ(EscapeControls("line\nnext", true), "line\nnext");
    EXPECT_EQ(EscapeControls("Z\xC3\xBCrich \xE6\x9D\xB1"), "Z\xC3\xBCrich \xE6\x9D\xB1");
}

} // namespace
} // namespace norvale
