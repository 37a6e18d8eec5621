#pragma once

#include "core/platform/geometry.h"

#include <cstdint>
#include <vector>

namespace norvale {

// One pixel as a 32-bit value 0xAARRGGBB; in memory the bytes are blue, green, red, alpha.
using Pixel32 = std::uint32_t;

constexpr std::uint8_t BlueOf(Pixel32 p) {
    return static_cast<std::uint8_t>(p);
}
constexpr std::uint8_t GreenOf(Pixel32 p) {
    return static_cast<std::uint8_t>(p >> 8);
}
constexpr std::uint8_t RedOf(Pixel32 p) {
    return static_cast<std::uint8_t>(p >> 16);
}
constexpr std::uint8_t AlphaOf(Pixel32 p) {
    return static_cast<std::uint8_t>(p >> 24);
}
constexpr Pixel32 MakePixel(std::uint32_t blue, std::uint32_t green, std::uint32_t red,
                            std::uint32_t alpha) {
    return blue | green << 8 | red << 16 | alpha << 24;
}

// A colour value 0x00BBGGRR (red in the low byte) as an opaque pixel.
constexpr Pixel32 OpaquePixelOf(std::uint32_t colour) {
    return MakePixel(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF, 255);
}

// x * a / 255 rounded to the nearest integer, exact for x and a in 0..255.
constexpr std::uint32_t MulDiv255(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 128;
    return (t + (t >> 8)) >> 8;
}

// The 32-bit bitmap every image, layer and frame of the face is made of: Width x Height
// pixels, top row first, laid out as a top-down 32-bit DIB section, which is how the ports
// (text drawing, the layered window) take it. Skin images and rendered label texts hold
// premultiplied colour.
class Bitmap32 {
public:
    Bitmap32() = default;
    // A negative size counts as 0.
    Bitmap32(int width, int height, Pixel32 fill = 0);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    RECT BoundsRect() const { return {0, 0, FWidth, FHeight}; }

    // Gives the bitmap a new size; every pixel is then 0.
    void SetSize(int width, int height);
    void Clear(Pixel32 value = 0);

    Pixel32* Row(int y) { return FBits.data() + static_cast<std::size_t>(y) * FWidth; }
    const Pixel32* Row(int y) const { return FBits.data() + static_cast<std::size_t>(y) * FWidth; }
    Pixel32& At(int x, int y) { return Row(y)[x]; }
    Pixel32 At(int x, int y) const { return Row(y)[x]; }

    Pixel32* Bits() { return FBits.data(); }
    const Pixel32* Bits() const { return FBits.data(); }

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<Pixel32> FBits;
};

} // namespace norvale
