#include "core/raster/label_text.h"
#include "support/fake_text_rasterizer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::FakeTextRasterizer;

class LabelTextTest : public ::testing::Test {
protected:
    LabelTextTest() {
        Text.CharWidth = 4;
        Text.LineHeight = 10;
    }
    FakeTextRasterizer Text;
};

TEST(ContrastColour, IsWhiteForDarkAndBlackForLightColours) {
    EXPECT_EQ(ContrastColour(0x000000), 0xFFFFFFu);
    EXPECT_EQ(ContrastColour(0xFFFFFF), 0x000000u);
    // 2 R + 5 G + B: 1023 is still dark, 1024 is light; R is the low byte.
    EXPECT_EQ(ContrastColour(0x03CC00), 0xFFFFFFu);
    EXPECT_EQ(ContrastColour(0x04CC00), 0x000000u);
    EXPECT_EQ(ContrastColour(0x0000FF), 0xFFFFFFu);
    EXPECT_EQ(ContrastColour(0xFF000000 | 0x00FFFF), 0x000000u);
}

TEST_F(LabelTextTest, WhiteTextIsMeasuredInBlackAndEndsWhite) {
    const Bitmap32 text = RenderLabelText("0", {"Block", 8, 0xFFFFFF}, Text);
    EXPECT_EQ(Text.DrawnColours, (std::vector<std::uint32_t>{0x000000, 0x000000}));
    EXPECT_EQ(text.At(0, 0), 0xFFFFFFFFu);
}

TEST_F(LabelTextTest, BlackTextIsMeasuredInWhiteAndEndsBlack) {
    const Bitmap32 text = RenderLabelText("0", {"Block", 8, 0x000000}, Text);
    EXPECT_EQ(Text.DrawnColours, (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(text.At(0, 0), 0xFF000000u);
}

TEST_F(LabelTextTest, CoverageBecomesPremultipliedAlpha) {
    const Bitmap32 text = RenderLabelText("00", {"Block", 8, 0x3366CC}, Text);
    ASSERT_EQ(text.Width(), 10);
    ASSERT_EQ(text.Height(), 12);
    EXPECT_EQ(text.At(0, 0), 0xFFCC6633u);
    // The half-covered edge, drawn in white: 255 on white and 128 on black, so alpha
    // 255 - 127; colour channels multiplied by 128 / 255 and rounded down.
    EXPECT_EQ(text.At(3, 0), MakePixel(0x33 * 128 / 255, 0x66 * 128 / 255, 0xCC * 128 / 255, 128));
    EXPECT_EQ(text.At(8, 0), 0u);
    EXPECT_EQ(text.At(0, 10), 0u);
}

TEST_F(LabelTextTest, EmptyTextIsTwoPixelsWideAndInvisible) {
    const Bitmap32 text = RenderLabelText("", {"Block", 8, 0x3366CC}, Text);
    ASSERT_EQ(text.Width(), 2);
    ASSERT_EQ(text.Height(), 12);
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(text.At(0, y) | text.At(1, y), 0u);
    }
}

TEST(CentredTextLeft, RoundsHalvesToEven) {
    EXPECT_EQ(CentredTextLeft(10, 11, 4), 14); // 13.5
    EXPECT_EQ(CentredTextLeft(11, 11, 4), 14); // 14.5
    EXPECT_EQ(CentredTextLeft(10, 12, 4), 14);
    EXPECT_EQ(CentredTextLeft(-3, 0, 0), -3);
    EXPECT_EQ(CentredTextLeft(-2, 1, 0), -2); // -1.5
    EXPECT_EQ(CentredTextLeft(-1, 1, 0), 0);  // -0.5
}

TEST_F(LabelTextTest, DrawLabelCentresOnTheBoxAndHangsFromItsTop) {
    for (int left : {10, 11}) {
        Bitmap32 layer(40, 30);
        const LabelPlacement label{left, 5, 11, {"Block", 8, 0x000000}, 0x0000FF};
        DrawLabel(layer, label, "0", Text, BLENDFUNCTION{});
        EXPECT_EQ(layer.At(13, 5), 0u) << left;
        EXPECT_EQ(layer.At(14, 5), 0xFFFF0000u) << left; // the drawing colour, not the font's
        EXPECT_EQ(layer.At(14, 4), 0u) << left;
        EXPECT_EQ(layer.At(14, 14), 0xFFFF0000u) << left;
        EXPECT_EQ(layer.At(14, 15), 0u) << left;
    }
}

TEST_F(LabelTextTest, DrawLabelBlendsWithTheConstantAlpha) {
    Bitmap32 layer(20, 20);
    const LabelPlacement label{0, 0, 4, {"Block", 8, 0xFFFFFF}, 0xFFFFFF};
    DrawLabel(layer, label, "0", Text, BLENDFUNCTION{kAcSrcOver, 0, 128, kAcSrcAlpha});
    EXPECT_EQ(layer.At(0, 0), 0x80808080u);
}

// The whole of the text's bitmap, as the raster keeps it.
const Bitmap32& Whole(LabelRaster& raster, std::string_view text, const TextFont& font,
                      const TextRasterizer& rasterizer) {
    const TextExtent extent = raster.Measure(text, font, rasterizer);
    return raster.Render(text, font, rasterizer, {0, 0, extent.Width + 2, extent.Height + 2});
}

TEST_F(LabelTextTest, AKeptLabelTextIsPaintedOnceAndRepaintedForAnyChange) {
    LabelRaster raster;
    const TextFont font{"Block", 8, 0x3366CC};
    const auto paints = [&] { return Text.DrawnColours.size(); };
    const auto expectFresh = [&](std::string_view text, const TextFont& f) {
        const Bitmap32& kept = Whole(raster, text, f, Text);
        const Bitmap32 fresh = RenderLabelText(text, f, Text);
        ASSERT_EQ(kept.Width(), fresh.Width());
        ASSERT_EQ(kept.Height(), fresh.Height());
        EXPECT_TRUE(
            std::equal(kept.Bits(), kept.Bits() + kept.Width() * kept.Height(), fresh.Bits()));
    };
    expectFresh("00", font);
    const std::size_t once = paints();
    const int measured = Text.Measured;
    Whole(raster, "00", font, Text);
    EXPECT_EQ(paints(), once);          // the same text, font and colour: nothing painted
    EXPECT_EQ(Text.Measured, measured); // nor measured again

    expectFresh("000", font);
    expectFresh("000", {"Block", 8, 0xFFFFFF});
    expectFresh("000", {"Block", 9, 0xFFFFFF});
    expectFresh("000", {"Other", 9, 0xFFFFFF});
    FakeTextRasterizer wider;
    wider.CharWidth = 6;
    wider.LineHeight = 10;
    const Bitmap32& other = Whole(raster, "000", {"Other", 9, 0xFFFFFF}, wider);
    EXPECT_EQ(other.Width(), 20);
}

TEST_F(LabelTextTest, DrawLabelWithAKeptTextDrawsWhatAFreshOneDraws) {
    LabelRaster raster;
    for (const char* text : {"0", "0", "00", "0 0", "0 0"}) {
        Bitmap32 kept(40, 30);
        Bitmap32 fresh(40, 30);
        const LabelPlacement label{3, 5, 11, {"Block", 8, 0x000000}, 0x0000FF};
        DrawLabel(kept, label, text, Text, BLENDFUNCTION{}, raster);
        DrawLabel(fresh, label, text, Text, BLENDFUNCTION{});
        EXPECT_TRUE(std::equal(kept.Bits(), kept.Bits() + 40 * 30, fresh.Bits())) << text;
        EXPECT_TRUE(std::any_of(kept.Bits(), kept.Bits() + 40 * 30, [](Pixel32 p) { return p; }))
            << text;
    }
}

// A text far larger than the layer: only the part on the layer is made, in bands when that
// part is large, and the layer ends as if the whole text had been blended onto it.
TEST_F(LabelTextTest, OnlyThePartOnTheLayerIsMadeInBands) {
    const auto expectSame = [&](int width, int height, const LabelPlacement& label,
                                std::string_view text) {
        Bitmap32 drawn(width, height);
        Text.LargestTarget = 0;
        DrawLabel(drawn, label, text, Text, BLENDFUNCTION{});
        EXPECT_LE(Text.LargestTarget, static_cast<std::size_t>(kLabelBandPixels));
        EXPECT_LE(Text.LargestTarget, static_cast<std::size_t>(width) * height);
        Bitmap32 whole(width, height);
        TextFont font = label.Font;
        font.Color = label.DrawingColour;
        const Bitmap32 all = RenderLabelText(text, font, Text);
        const int x = CentredTextLeft(label.Left, label.Width, all.Width() - 2);
        AlphaBlend(whole, x, label.Top, all, BLENDFUNCTION{});
        EXPECT_TRUE(std::equal(drawn.Bits(), drawn.Bits() + width * height, whole.Bits()))
            << width << " x " << height;
    };
    Text.CharWidth = 0; // cells from the font size: 400 points are 266 x 666 pixels
    Text.LineHeight = 0;
    expectSame(40, 30, {-300, -20, 90, {"Block", 400, 0x3366CC}, 0x3366CC}, "0 0 0");
    // 2000 x 618 pixels of it on the layer: two bands.
    expectSame(2000, 700, {-100, -50, 2200, {"Block", 400, 0xFFFFFF}, 0x80FF40}, "0 00 000");
}

} // namespace
} // namespace norvale
