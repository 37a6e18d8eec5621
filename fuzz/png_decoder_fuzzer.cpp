#include "core/raster/png_decoder.h"
#include "core/raster/skin_image.h"

#include <cstdint>
#include <cstdlib>

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
    } catch (const norvale::PngError&) {
    }
    return 0;
}
