#include "core/raster/lanczos.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

// Columns of alternating opaque white and transparent pixels: the finest detail there is.
Bitmap32 Stripes(int width, int height) {
    Bitmap32 stripes(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 2) {
            stripes.At(x, y) = 0xFFFFFFFF;
        }
    }
    return stripes;
}

TEST(LanczosKernel, EveryPhaseSumsToOneAndTheWidenedKernelReachesFurther) {
    const LanczosKernel& plain = LanczosKernel::Interpolating();
    const LanczosKernel wide(2);
    EXPECT_EQ(plain.Taps(), 6);
    EXPECT_EQ(wide.Taps(), 12);
    for (const LanczosKernel* kernel : {&plain, &wide}) {
        for (int phase = 0; phase < 256; ++phase) {
            double sum = 0;
            for (int k = 0; k < kernel->Taps(); ++k) {
                sum += kernel->Weights(phase)[k];
            }
            ASSERT_NEAR(sum, 1, 1e-5) << phase;
        }
    }
    // At a whole pixel the plain kernel takes that pixel alone.
    const float* whole = plain.Weights(0);
    EXPECT_EQ(whole[2], 1.0f);
    for (const int k : {0, 1, 3, 4, 5}) {
        EXPECT_NEAR(whole[k], 0, 1e-6) << k;
    }
}

TEST(ResampleLanczos, TheSameSizeIsAPlainCopy) {
    Bitmap32 source = Stripes(7, 5);
    source.At(3, 2) = MakePixel(1, 2, 3, 4);
    const Bitmap32 copy = ResampleLanczos(source, 7, 5);
    EXPECT_TRUE(std::equal(source.Bits(), source.Bits() + 35, copy.Bits()));
}

TEST(ResampleLanczos, GrowingAFlatImageKeepsItFlatAndOpaqueToItsEdges) {
    const Bitmap32 flat(10, 6, MakePixel(30, 60, 90, 255));
    const Bitmap32 grown = ResampleLanczos(flat, 15, 9);
    ASSERT_EQ(grown.Width(), 15);
    ASSERT_EQ(grown.Height(), 9);
    // Inside, at least three source pixels from the border: exactly the colour.
    EXPECT_EQ(grown.At(7, 4), MakePixel(30, 60, 90, 255));
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 15; ++x) {
            const Pixel32 p = grown.At(x, y);
            ASSERT_LE(std::max({RedOf(p), GreenOf(p), BlueOf(p)}), AlphaOf(p));
        }
    }
}

// Shrinking with the widened kernel averages detail the smaller grid cannot show, where the
// plain interpolating kernel would pick single stripes and alias.
TEST(ResampleLanczos, ShrinkingFiltersDetailInsteadOfAliasing) {
    const Bitmap32 shrunk = ResampleLanczos(Stripes(60, 8), 24, 8);
    for (int x = 4; x < 20; ++x) {
        const int alpha = AlphaOf(shrunk.At(x, 4));
        ASSERT_NEAR(alpha, 128, 24) << "x = " << x;
    }
}

} // namespace
} // namespace norvale
