#include "core/raster/pixel_ops.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr BLENDFUNCTION Blend(std::uint8_t k) {
    return {kAcSrcOver, 0, k, kAcSrcAlpha};
}

TEST(AlphaBlend, ScalesTheSourceThenLaysItOverTheTarget) {
    const Bitmap32 source(1, 1, MakePixel(100, 50, 0, 128));
    Bitmap32 full(1, 1, MakePixel(200, 200, 200, 255));
    AlphaBlend(full, 0, 0, source, Blend(255));
    // 100 + 200 * 127 / 255 (99.6 -> 100), and so on; alpha 128 + 127.
    EXPECT_EQ(full.At(0, 0), MakePixel(200, 150, 100, 255));

    Bitmap32 half(1, 1, MakePixel(200, 200, 200, 255));
    AlphaBlend(half, 0, 0, source, Blend(128));
    // S' = (50, 25, 0, 64); the target keeps 191 / 255 of itself: 200 -> 150.
    EXPECT_EQ(half.At(0, 0), MakePixel(200, 175, 150, 255));

    Bitmap32 empty(1, 1);
    AlphaBlend(empty, 0, 0, source, Blend(0));
    EXPECT_EQ(empty.At(0, 0), 0u);
}

// Whole rows are blended several pixels at once: every pixel must still follow the rule, at
// every constant alpha, also in the odd pixels at a row's end and where the source is clear.
TEST(AlphaBlend, RowsBlendedTogetherFollowTheRuleForEveryPixel) {
    const auto divide = [](std::uint32_t x, std::uint32_t a) { return (x * a * 2 + 255) / 510; };
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525 + 1013904223;
        return seed >> 24;
    };
    Bitmap32 source(7, 9);
    Bitmap32 target(7, 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 7; ++x) {
            const std::uint32_t a = y == 4 ? 0 : next(); // one row all clear
            source.At(x, y) = MakePixel(next() * a / 255, next() * a / 255, next() * a / 255, a);
            target.At(x, y) = MakePixel(next(), next(), next(), next());
        }
    }
    for (const std::uint32_t k : {255u, 254u, 128u, 1u, 0u}) {
        Bitmap32 blended = target;
        AlphaBlend(blended, 0, 0, source, Blend(static_cast<std::uint8_t>(k)));
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 7; ++x) {
                const Pixel32 s = source.At(x, y);
                const Pixel32 d = target.At(x, y);
                const std::uint32_t rest = 255 - divide(AlphaOf(s), k);
                const auto channel = [&](int shift) {
                    const std::uint32_t v =
                        divide(s >> shift & 0xFF, k) + divide(d >> shift & 0xFF, rest);
                    return std::min(v, 255u) << shift;
                };
                ASSERT_EQ(blended.At(x, y), channel(0) | channel(8) | channel(16) | channel(24))
                    << "k " << k << " at " << x << "," << y;
            }
        }
    }
}

TEST(AlphaBlend, StretchesAndClipsToBothBitmaps) {
    Bitmap32 source(1, 2);
    source.At(0, 0) = 0xFF0000FF;
    source.At(0, 1) = 0xFF00FF00;
    Bitmap32 target(3, 3, 0xFF000000);
    AlphaBlend(target, {-1, -1, 1, 3}, source, source.BoundsRect(), Blend(255));
    EXPECT_EQ(target.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(target.At(0, 1), 0xFF00FF00u);
    EXPECT_EQ(target.At(0, 2), 0xFF00FF00u);
    EXPECT_EQ(target.At(1, 0), 0xFF000000u);

    // A source rectangle reaching outside the source takes only what is there.
    Bitmap32 clipped(2, 2, 0xFF000000);
    AlphaBlend(clipped, {0, 0, 2, 2}, source, {-1, 0, 1, 2}, Blend(255));
    EXPECT_EQ(clipped.At(0, 0), 0xFF000000u);
    EXPECT_EQ(clipped.At(1, 0), 0xFF0000FFu);
    EXPECT_EQ(clipped.At(1, 1), 0xFF00FF00u);
}

TEST(MergePixel, LaysStraightColourOverTheBack) {
    const Pixel32 back = MakePixel(10, 20, 30, 200);
    EXPECT_EQ(MergePixel(MakePixel(1, 2, 3, 0), back), back);
    EXPECT_EQ(MergePixel(MakePixel(1, 2, 3, 255), back), MakePixel(1, 2, 3, 255));
    EXPECT_EQ(MergePixel(MakePixel(1, 2, 3, 9), MakePixel(7, 7, 7, 0)), MakePixel(1, 2, 3, 9));
    // Half red over opaque blue: alpha 128 + 255 * 127 / 255; red 255 * 128 / 255.
    EXPECT_EQ(MergePixel(MakePixel(0, 0, 255, 128), MakePixel(255, 0, 0, 255)),
              MakePixel(127, 0, 128, 255));
    // Weights 100 * 255 and 128 * 155: alpha 45340 / 255 = 177.8; red 6092000 / 45340 = 134.4.
    EXPECT_EQ(MergePixel(MakePixel(0, 0, 200, 100), MakePixel(0, 0, 50, 128)),
              MakePixel(0, 0, 134, 178));
}

TEST(MergeDraw, MergesACellOfTheSourceAtAPoint) {
    Bitmap32 strip(4, 1);
    strip.At(2, 0) = MakePixel(9, 9, 9, 255);
    strip.At(3, 0) = MakePixel(5, 5, 5, 0);
    Bitmap32 target(3, 1, MakePixel(1, 1, 1, 255));
    MergeDraw(target, 1, 0, strip, {2, 0, 4, 1});
    EXPECT_EQ(target.At(0, 0), MakePixel(1, 1, 1, 255));
    EXPECT_EQ(target.At(1, 0), MakePixel(9, 9, 9, 255));
    EXPECT_EQ(target.At(2, 0), MakePixel(1, 1, 1, 255));
}

TEST(StretchNearest, CopiesTheNearestPixelAsItIs) {
    Bitmap32 source(2, 2);
    source.At(0, 0) = 0x11000001;
    source.At(1, 0) = 0x22000002;
    source.At(0, 1) = 0x33000003;
    source.At(1, 1) = 0x44000004;
    Bitmap32 target(5, 5, 0xFFFFFFFF);
    StretchNearest(target, {0, 0, 4, 4}, source);
    EXPECT_EQ(target.At(1, 1), 0x11000001u);
    EXPECT_EQ(target.At(2, 1), 0x22000002u);
    EXPECT_EQ(target.At(1, 2), 0x33000003u);
    EXPECT_EQ(target.At(3, 3), 0x44000004u);
    EXPECT_EQ(target.At(4, 4), 0xFFFFFFFFu);

    Bitmap32 shrunk(1, 1);
    StretchNearest(shrunk, {0, 0, 1, 1}, source);
    EXPECT_EQ(shrunk.At(0, 0), 0x44000004u);
}

} // namespace
} // namespace norvale
