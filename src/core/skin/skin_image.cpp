#include "core/skin/skin_image.h"

#include "core/raster/lanczos.h"
#include "core/skin/skin_limits.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

namespace norvale {
namespace {

// The largest file any image of this side limit may need: 16-bit samples with alpha.
std::uint64_t MaxPngBytesForSide(int side) {
    const auto length = static_cast<std::uint32_t>(side);
    return MaxPngBytes(PngHeader{length, length, 16, 6, false});
}

std::span<const std::uint8_t> Bytes(const std::string& file) {
    return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

// Reads, checks and decodes one image file: its size and pixels are counted before the
// pixels are made, and its bytes freed before they are turned into the bitmap. A missing
// optional file is an empty bitmap.
Bitmap32 ReadImage(SkinFolder& folder, std::string_view relativePath, int factor,
                   std::uint64_t count, std::uint32_t fillColour, bool required) {
    const int side = factor * kMaxSkinSide;
    std::optional<std::string> file =
        required ? folder.Read(relativePath, MaxPngBytesForSide(side))
                 : folder.ReadIfPresent(relativePath, MaxPngBytesForSide(side));
    if (!file) {
        return {};
    }
    const std::string name = folder.Shown(relativePath);
    // A file too short for a header is left to the decoder to refuse.
    if (const auto header = PeekPngHeader(Bytes(*file))) {
        folder.TakePixels(header->Width, header->Height, side, count, relativePath);
        const std::uint64_t most = MaxPngBytes(*header);
        if (file->size() > most) {
            throw SkinFileError(name + ": the file holds " + std::to_string(file->size()) +
                                " bytes, more than its " + std::to_string(header->Width) + " x " +
                                std::to_string(header->Height) + " pixels can need (" +
                                std::to_string(most) + ")");
        }
    }
    const PngImage png = DecodePng(Bytes(*file), name);
    file.reset();
    return SkinBitmapFromPng(png, fillColour);
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

std::uint64_t MaxPngBytes(const PngHeader& header) {
    const std::uint64_t data = PngImageDataBytes(header);
    return data + data / 8 + kMaxPngExtraBytes;
}

SkinImageFiles ReadSkinImageFiles(std::string_view relativePath, std::uint32_t fillColour,
                                  std::uint64_t weight, SkinFolder& folder) {
    SkinImageFiles files;
    files.FillColour = fillColour;
    files.Name = folder.Shown(relativePath);
    files.Base = ReadImage(folder, relativePath, 1, 1 + weight, fillColour, true);
    for (int factor = 2; factor <= kLargestVariant; ++factor) {
        const std::string relative = VariantPath(relativePath, factor);
        Bitmap32 variant = ReadImage(folder, relative, factor, 1, fillColour, false);
        if (variant.Width() == 0) {
            continue;
        }
        const int width = factor * files.Base.Width();
        const int height = factor * files.Base.Height();
        if (variant.Width() != width || variant.Height() != height) {
            throw PngError(folder.Shown(relative) + ": the image is " +
                           std::to_string(variant.Width()) + " x " +
                           std::to_string(variant.Height()) + " pixels, not " +
                           std::to_string(width) + " x " + std::to_string(height) + " (" +
                           std::to_string(factor) + " times its base image)");
        }
        files.Variants[factor - 2] = std::move(variant);
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

Bitmap32 ScaledSkinImage(const SkinImageFiles& files, DisplayScale scale) {
    return ResampleLanczos(files.Variant(VariantFactorFor(files, scale)),
                           scale.Length(files.Base.Width()), scale.Length(files.Base.Height()));
}

Bitmap32 ScaledCellStrip(const SkinImageFiles& files, DisplayScale scale) {
    const Bitmap32& strip = files.Variant(VariantFactorFor(files, scale));
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
