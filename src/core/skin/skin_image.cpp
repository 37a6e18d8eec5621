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

// Reads one image file and counts its size and pixels before anything is made of it;
// nullopt for a missing optional file. A file too short for a header is left to the decoder
// to refuse.
std::optional<std::string> ReadImageFile(SkinFolder& folder, std::string_view relativePath,
                                         int factor, std::uint64_t count, bool required) {
    const int side = factor * kMaxSkinSide;
    std::optional<std::string> file =
        required ? folder.Read(relativePath, MaxPngBytesForSide(side))
                 : folder.ReadIfPresent(relativePath, MaxPngBytesForSide(side));
    if (!file) {
        return std::nullopt;
    }
    if (const auto header = PeekPngHeader(Bytes(*file))) {
        folder.TakePixels(header->Width, header->Height, side, count, relativePath);
        const std::uint64_t most = MaxPngBytes(*header);
        if (file->size() > most) {
            throw SkinFileError(
                folder.Shown(relativePath) + ": the file holds " + std::to_string(file->size()) +
                " bytes, more than its " + std::to_string(header->Width) + " x " +
                std::to_string(header->Height) + " pixels can need (" + std::to_string(most) + ")");
        }
    }
    return file;
}

// Decodes a file, freeing its bytes before they are turned into the bitmap.
Bitmap32 Decode(std::string& file, const std::string& name, std::uint32_t fillColour) {
    const PngImage png = DecodePng(Bytes(file), name);
    std::string().swap(file);
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
        // Most pixels of a skin are clear or opaque; the rule below leaves both as they are.
        if (a == 0) {
            out[i] = 0;
            continue;
        }
        if (a == 255) {
            out[i] = MakePixel(in[2], in[1], in[0], 255);
            continue;
        }
        std::uint32_t c[3];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t over = (in[k] * a + fill[k] * (255 - a) + 255) >> 8;
            // over * a / 255, rounded down, for every product up to 255 * 255.
            const std::uint32_t product = over * a;
            c[k] = (product + 1 + (product >> 8)) >> 8;
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
                                  std::uint64_t weight, SkinFolder& folder, bool decodeVariants) {
    SkinImageFiles files;
    files.FillColour = fillColour;
    files.Name = folder.Shown(relativePath);
    std::string base = *ReadImageFile(folder, relativePath, 1, 1 + weight, true);
    files.Base = Decode(base, files.Name, fillColour);
    for (int factor = 2; factor <= kLargestVariant; ++factor) {
        const std::string relative = VariantPath(relativePath, factor);
        std::optional<std::string> file = ReadImageFile(folder, relative, factor, 1, false);
        if (!file) {
            continue;
        }
        SkinImageVariant& variant = files.Variants[factor - 2];
        variant.Name = folder.Shown(relative);
        const PngHeader header = CheckPngChunks(Bytes(*file), variant.Name);
        const auto width = static_cast<std::uint32_t>(factor * files.Base.Width());
        const auto height = static_cast<std::uint32_t>(factor * files.Base.Height());
        if (header.Width != width || header.Height != height) {
            throw PngError(variant.Name + ": the image is " + std::to_string(header.Width) + " x " +
                           std::to_string(header.Height) + " pixels, not " + std::to_string(width) +
                           " x " + std::to_string(height) + " (" + std::to_string(factor) +
                           " times its base image)");
        }
        variant.File = std::move(*file);
        if (decodeVariants) {
            DecodeVariant(variant, fillColour);
        }
    }
    return files;
}

void DecodeVariant(SkinImageVariant& variant, std::uint32_t fillColour) {
    if (!variant.File.empty()) {
        variant.Decoded = Decode(variant.File, variant.Name, fillColour);
    }
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

int PrepareVariant(SkinImageFiles& files, DisplayScale scale) {
    for (;;) {
        const int factor = VariantFactorFor(files, scale);
        if (factor == 1) {
            return factor;
        }
        SkinImageVariant& variant = files.Variants[factor - 2];
        try {
            DecodeVariant(variant, files.FillColour);
            return factor;
        } catch (const PngError&) {
            variant = {};
        }
    }
}

Bitmap32 ScaledSkinImage(SkinImageFiles& files, DisplayScale scale) {
    return ResampleLanczos(files.Variant(PrepareVariant(files, scale)),
                           scale.Length(files.Base.Width()), scale.Length(files.Base.Height()));
}

Bitmap32 ScaledCellStrip(SkinImageFiles& files, DisplayScale scale) {
    const Bitmap32& strip = files.Variant(PrepareVariant(files, scale));
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
