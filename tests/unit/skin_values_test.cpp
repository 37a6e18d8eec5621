#include "core/skin/skin_values.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(SkinColour, NamesIgnoreCase) {
    EXPECT_EQ(ParseSkinColour("clWhite"), 0xFFFFFFu);
    EXPECT_EQ(ParseSkinColour("clwhite"), 0xFFFFFFu);
    EXPECT_EQ(ParseSkinColour("CLRED"), 0x0000FFu);
    EXPECT_EQ(ParseSkinColour("clSkyBlue"), 0xF0CAA6u);
    EXPECT_EQ(ParseSkinColour("clMedGray"), 0xA4A0A0u);
    EXPECT_EQ(ParseSkinColour("clNone"), 0x1FFFFFFFu);
    EXPECT_EQ(ParseSkinColour("clDefault"), 0x20000000u);
}

TEST(SkinColour, SystemColoursCarryTheirIndex) {
    EXPECT_EQ(ParseSkinColour("clScrollBar"), 0xFF000000u);
    EXPECT_EQ(ParseSkinColour("clCaptionText"), 0xFF000009u);
    EXPECT_EQ(ParseSkinColour("clHotLight"), 0xFF00001Au);
    EXPECT_EQ(ParseSkinColour("clMenuBar"), 0xFF00001Eu);
    EXPECT_TRUE(IsSystemColour(*ParseSkinColour("clBtnFace")));
    EXPECT_FALSE(IsSystemColour(*ParseSkinColour("clBlue")));
    // Only the names of the format count; this one it does not list.
    EXPECT_EQ(ParseSkinColour("clWindowText"), std::nullopt);
}

TEST(SkinColour, NumbersInDecimalOrDollarHex) {
    EXPECT_EQ(ParseSkinColour("$C29CA0"), 0xC29CA0u);
    EXPECT_EQ(ParseSkinColour("$c29ca0"), 0xC29CA0u);
    EXPECT_EQ(ParseSkinColour("$FF00000F"), 0xFF00000Fu);
    EXPECT_EQ(ParseSkinColour("12345"), 12'345u);
    EXPECT_EQ(ParseSkinColour("-1"), 0xFFFFFFFFu);
    for (const char* text : {"white", "", "$", "$-1", "$+1", "$12G", "#FFFFFF", "0x10", "1.5",
                             "$123456789", "cl White"}) {
        EXPECT_EQ(ParseSkinColour(text), std::nullopt) << '"' << text << '"';
    }
}

} // namespace
} // namespace norvale
