#include "core/raster/png_decoder.h"
#include "core/raster/png_encoder.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The encoder's file read back by the clock's own decoder, which checks every CRC.
PngImage RoundTrip(const Bitmap32& bitmap) {
    return DecodePng(EncodePng(bitmap), "frame.png");
}

TEST(PngEncoder, WritesOpaquePixelsAsTheyAreInRowOrder) {
    Bitmap32 bitmap(3, 2);
    for (int i = 0; i < 6; ++i) {
        bitmap.Bits()[i] = MakePixel(10 * i, 10 * i + 1, 10 * i + 2, 255);
    }
    const PngImage image = RoundTrip(bitmap);
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.ColourType, 6);
    ASSERT_EQ(image.Rgba.size(), 24u);
    for (int i = 0; i < 6; ++i) {
        const auto at = static_cast<std::size_t>(4 * i);
        EXPECT_EQ(image.Rgba[at], 10 * i + 2) << i; // red
        EXPECT_EQ(image.Rgba[at + 1], 10 * i + 1) << i;
        EXPECT_EQ(image.Rgba[at + 2], 10 * i) << i; // blue
        EXPECT_EQ(image.Rgba[at + 3], 255) << i;
    }
}

TEST(PngEncoder, UndoesThePremultiplicationRoundedAndClamped) {
    Bitmap32 bitmap(3, 1);
    bitmap.At(0, 0) = MakePixel(64, 32, 16, 128); // 16 * 255 / 128 = 31.9, 64 -> 127.5
    bitmap.At(1, 0) = MakePixel(9, 9, 9, 0);      // no coverage: transparent black
    bitmap.At(2, 0) = MakePixel(200, 0, 0, 100);  // not premultiplied: clamps at 255
    EXPECT_EQ(RoundTrip(bitmap).Rgba, (Bytes{32, 64, 128, 128, 0, 0, 0, 0, 0, 0, 255, 100}));
}

} // namespace
} // namespace norvale
