#include "contract/text_rasterizer_contract.h"

#include "core/raster/label_text.h"
#include "support/temp_folder.h"

namespace norvale::testing {
namespace {

TEST_P(TextRasterizerContract, WidthGrowsWithTheTextAndHeightIsTheFonts) {
    const TextFont font = Font(14);
    const TextExtent empty = Rasterizer->MeasureText(font, "");
    const TextExtent one = Rasterizer->MeasureText(font, "0");
    const TextExtent two = Rasterizer->MeasureText(font, "00");
    const TextExtent time = Rasterizer->MeasureText(font, "00:00:00");
    EXPECT_EQ(empty.Width, 0);
    EXPECT_GT(one.Width, 0);
    EXPECT_GT(two.Width, one.Width);
    EXPECT_GT(time.Width, two.Width);
    // 14 pt at 96 dots per inch is an em of 19 pixels; the line is at least that high.
    EXPECT_GE(one.Height, 19);
    EXPECT_LE(one.Height, 38);
    EXPECT_EQ(empty.Height, one.Height);
    EXPECT_EQ(time.Height, one.Height);
    EXPECT_GT(Rasterizer->MeasureText(Font(28), "00").Width, two.Width);
}

TEST_P(TextRasterizerContract, GlyphPixelsCarryTheRequestedColour) {
    const TextFont font = Font(24);
    const TextExtent extent = Rasterizer->MeasureText(font, "8");
    Bitmap32 bitmap(extent.Width + 2, extent.Height + 2, 0xFFFFFFFF);
    Rasterizer->PaintText(bitmap, font, 0xFF0000, "8", 0, 0); // pure blue on white
    int solid = 0;
    int partial = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Pixel32 p = bitmap.At(x, y);
            ASSERT_EQ(BlueOf(p), 255) << x << "," << y;
            ASSERT_EQ(RedOf(p), GreenOf(p)) << x << "," << y; // grey coverage, no colour fringes
            ASSERT_EQ(AlphaOf(p), 255) << x << "," << y;
            solid += RedOf(p) == 0;
            partial += RedOf(p) > 0 && RedOf(p) < 255;
        }
    }
    EXPECT_GT(solid, 10);
    EXPECT_GT(partial, 10);
}

TEST_P(TextRasterizerContract, DrawsOnlyInsideTheMeasuredBox) {
    const TextFont font = Font(14);
    const TextExtent extent = Rasterizer->MeasureText(font, "00");
    Bitmap32 bitmap(2 * extent.Width + 4, 2 * extent.Height + 4, 0xFF000000);
    Rasterizer->PaintText(bitmap, font, 0xFFFFFF, "00", 0, 0);
    int inside = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (x >= extent.Width + 2 || y >= extent.Height + 2) {
                ASSERT_EQ(bitmap.At(x, y), 0xFF000000u) << x << "," << y;
            } else {
                inside += bitmap.At(x, y) != 0xFF000000u;
            }
        }
    }
    EXPECT_GT(inside, 20);
}

TEST_P(TextRasterizerContract, RenderedLabelTextHasSolidAndPartialAlpha) {
    const TextFont font = Font(14, 0x3366CC);
    const Bitmap32 text = RenderLabelText("00:00", font, *Rasterizer);
    const TextExtent extent = Rasterizer->MeasureText(font, "00:00");
    ASSERT_EQ(text.Width(), extent.Width + 2);
    ASSERT_EQ(text.Height(), extent.Height + 2);
    int solid = 0;
    int partial = 0;
    for (int y = 0; y < text.Height(); ++y) {
        for (int x = 0; x < text.Width(); ++x) {
            const Pixel32 p = text.At(x, y);
            const int a = AlphaOf(p);
            ASSERT_LE(std::max({RedOf(p), GreenOf(p), BlueOf(p)}), a) << x << "," << y;
            if (a == 255) {
                ASSERT_EQ(p, 0xFFCC6633u) << x << "," << y;
                ++solid;
            }
            partial += a > 0 && a < 255;
        }
    }
    EXPECT_GT(solid, 10);
    EXPECT_GT(partial, 10);
}

TEST_P(TextRasterizerContract, RefusesAFileThatHoldsNoFont) {
    const TempFolder folder;
    EXPECT_FALSE(Rasterizer->AddPrivateFont(folder.Path() / "absent.ttf"));
    EXPECT_FALSE(Rasterizer->AddPrivateFont(folder.Write("note.ttf", "not a font at all")));
    EXPECT_FALSE(Rasterizer->AddPrivateFont(folder.Write("empty.otf", "")));
}

INSTANTIATE_TEST_SUITE_P(Adapters, TextRasterizerContract,
                         ::testing::ValuesIn(TextRasterizerAdapters()),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace norvale::testing
