#include "core/raster/skin_image.h"

#include "core/raster/lanczos.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace norvale {
namespace {

// No valid image within the decoder's limits needs a larger file.
constexpr std::uintmax_t kMaxSkinFileBytes = 1ull << 30;

std::filesystem::path PathOf(const std::filesystem::path& folder, std::string_view relative) {
    std::u8string name(relative.size(), u8'\0');
    for (std::size_t i = 0; i < relative.size(); ++i) {
        name[i] = relative[i] == '\\' ? u8'/' : static_cast<char8_t>(relative[i]);
    }
    return folder / std::filesystem::path(name);
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path,
                                        const std::string& name) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        throw PngError(name + ": cannot open the file");
    }
    if (size > kMaxSkinFileBytes) {
        throw PngError(name + ": file too large");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        throw PngError(name + ": cannot read the file");
    }
    return bytes;
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
                                  const std::filesystem::path& folder) {
    SkinImageFiles files;
    files.FillColour = fillColour;
    const std::filesystem::path basePath = PathOf(folder, relativePath);
    files.Name = PathText(basePath);
    files.Base =
        SkinBitmapFromPng(DecodePng(ReadWholeFile(basePath, files.Name), files.Name), fillColour);
    for (int factor = 2; factor <= kLargestVariant; ++factor) {
        const std::filesystem::path path = PathOf(folder, VariantPath(relativePath, factor));
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            continue;
        }
        const std::string name = PathText(path);
        std::vector<std::uint8_t> bytes = ReadWholeFile(path, name);
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
