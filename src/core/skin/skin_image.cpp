#include "core/skin/skin_image.h"

#include "core/raster/lanczos.h"
#include "core/skin/skin_limits.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace norvale {
namespace {

// No valid image within the skin's limits needs a larger file.
constexpr std::uint64_t kMaxSkinFileBytes = 256ull << 20;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::uint32_t BigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Counts the image's pixels, from the size its header declares, before it is decoded; a file
// too short for a header is left to the decoder to refuse.
void TakePixels(SkinFolder& folder, const std::vector<std::uint8_t>& png, int factor,
                std::string_view relativePath) {
    constexpr std::size_t kWidthAt = 16; // signature, IHDR length and type
    if (png.size() >= kWidthAt + 8) {
        folder.TakePixels(BigEndian(png, kWidthAt), BigEndian(png, kWidthAt + 4),
                          factor * kMaxSkinSide, relativePath);
    }
}

} // namespace

Bitmap32 SkinBitmapFromPng(const PngImage& png, std::uint32_t fillColour) {
    const std::uint32_t fill[3] = {fillColour & 0xFF, fillColour >> 8 & 0xFF,
                                   fillColour >> 16 & 0xFF};
    Bitmap32 bitmap(png.Width, png.Height);
    const std::uint8_t* in = png.Rgba.data();
    Pixel32* out = bitmap.Bits();
    const std::size_t pixels = static_cast<std::size_t>(png.Width) * png.Height;
    for (std::size_t i = 0; i < pixels; ++i, in += 4) {
        const std::uint32_t a = in[3];
        std::uint32_t c[3];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t over = (in[k] * a + fill[k] * (255 - a) + 255) >> 8;
            c[k] = over * a / 255;
        }
        out[i] = MakePixel(c[2], c[1], c[0], a);
    }
    return bitmap;
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string VariantPath(std::string_view relativePath, int factor) {
    const std::size_t nameStart = relativePath.find_last_of("\\/") + 1;
    std::size_t dot = relativePath.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        dot = relativePath.size();
    }
    return std::string(relativePath.substr(0, dot)) + "@" + std::to_string(factor) + "x" +
           std::string(relativePath.substr(dot));
}

SkinImageFiles ReadSkinImageFiles(std::string_view relativePath, std::uint32_t fillColour,
                                  SkinFolder& folder) {
    SkinImageFiles files;
    files.FillColour = fillColour;
    files.Name = folder.Shown(relativePath);
    const std::vector<std::uint8_t> base = Bytes(folder.Read(relativePath, kMaxSkinFileBytes));
    TakePixels(folder, base, 1, relativePath);
    files.Base = SkinBitmapFromPng(DecodePng(base, files.Name), fillColour);
    for (int factor = 2; factor <= kLargestVariant; ++factor) {
        const std::string relative = VariantPath(relativePath, factor);
        const auto read = folder.ReadIfPresent(relative, kMaxSkinFileBytes);
        if (!read) {
            continue;
        }
        const std::string name = folder.Shown(relative);
        std::vector<std::uint8_t> bytes = Bytes(*read);
        TakePixels(folder, bytes, factor, relative);
        const PngImage png = DecodePng(bytes, name);
        const int width = factor * files.Base.Width();
        const int height = factor * files.Base.Height();
        if (png.Width != width || png.Height != height) {
            throw PngError(name + ": the image is " + std::to_string(png.Width) + " x " +
                           std::to_string(png.Height) + " pixels, not " + std::to_string(width) +
                           " x " + std::to_string(height) + " (" + std::to_string(factor) +
                           " times its base image)");
        }
        files.Variants[factor - 2] = std::move(bytes);
    }
    return files;
}

int VariantFactorFor(const SkinImageFiles& files, DisplayScale scale) {
    int largest = 1;
    for (int factor = 1; factor <= kLargestVariant; ++factor) {
        if (!files.HasVariant(factor)) {
            continue;
        }
        if (factor * kSkinDpi >= scale.Dpi()) {
            return factor;
        }
        largest = factor;
    }
    return largest;
}

ImageVariant VariantFor(const SkinImageFiles& files, DisplayScale scale) {
    const int factor = VariantFactorFor(files, scale);
    if (factor == 1) {
        return {files.Base, 1};
    }
    const std::string name = VariantPath(files.Name, factor);
    return {SkinBitmapFromPng(DecodePng(files.Variants[factor - 2], name), files.FillColour),
            factor};
}

Bitmap32 ScaledSkinImage(const SkinImageFiles& files, DisplayScale scale) {
    return ResampleLanczos(VariantFor(files, scale).Bitmap, scale.Length(files.Base.Width()),
                           scale.Length(files.Base.Height()));
}

Bitmap32 ScaledCellStrip(const SkinImageFiles& files, DisplayScale scale) {
    const ImageVariant variant = VariantFor(files, scale);
    const Bitmap32& strip = variant.Bitmap;
    const int side = scale.Length(files.Base.Height());
    if (strip.Height() == side) {
        return strip;
    }
    const int cells = strip.Height() == 0 ? 0 : strip.Width() / strip.Height();
    Bitmap32 scaled(cells * side, side);
    Bitmap32 cell(strip.Height(), strip.Height());
    for (int c = 0; c < cells; ++c) {
        for (int y = 0; y < cell.Height(); ++y) {
            std::copy_n(strip.Row(y) + static_cast<std::ptrdiff_t>(c) * cell.Width(), cell.Width(),
                        cell.Row(y));
        }
        const Bitmap32 resampled = ResampleLanczos(cell, side, side);
        for (int y = 0; y < side; ++y) {
            std::copy_n(resampled.Row(y), side,
                        scaled.Row(y) + static_cast<std::ptrdiff_t>(c) * side);
        }
    }
    return scaled;
}

} // namespace norvale
