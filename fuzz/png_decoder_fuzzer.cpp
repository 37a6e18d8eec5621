#include "core/raster/display_scale.h"
#include "core/raster/lanczos.h"
#include "core/raster/png_decoder.h"
#include "core/skin/skin_image.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Small images are also drawn as a display scale draws them: grown to the scale that the last
// byte picks, and shrunk to half as a larger variant is; each result keeps premultiplied
// pixels. Large ones would only slow the search.
constexpr int kMaxScaledPixels = 4096;

void CheckScaled(const norvale::Bitmap32& bitmap, int width, int height) {
    const norvale::Bitmap32 scaled = norvale::ResampleLanczos(bitmap, width, height);
    if (scaled.Width() != width || scaled.Height() != height) {
        std::abort();
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const norvale::Pixel32 p = scaled.At(x, y);
            const auto alpha = norvale::AlphaOf(p);
            if (norvale::RedOf(p) > alpha || norvale::GreenOf(p) > alpha ||
                norvale::BlueOf(p) > alpha) {
                std::abort();
            }
        }
    }
}

} // namespace

// Any byte string: either a decoded image of consistent size, which then becomes a skin
// bitmap, or a PngError; never a crash.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const norvale::PngImage image = norvale::DecodePng({data, size}, "fuzz.png");
        const std::size_t pixels = static_cast<std::size_t>(image.Width) * image.Height;
        if (image.Width <= 0 || image.Height <= 0 || image.Rgba.size() != pixels * 4) {
            std::abort();
        }
        const norvale::Bitmap32 bitmap = norvale::SkinBitmapFromPng(image, 0x808080);
        if (bitmap.Width() != image.Width || bitmap.Height() != image.Height) {
            std::abort();
        }
        if (pixels <= kMaxScaledPixels) {
            const norvale::DisplayScale scale(norvale::kMinDpi + data[size - 1] % 385);
            CheckScaled(bitmap, scale.Length(image.Width), scale.Length(image.Height));
            CheckScaled(bitmap, (image.Width + 1) / 2, (image.Height + 1) / 2);
        }
    } catch (const norvale::PngError&) {
    }
    return 0;
}
