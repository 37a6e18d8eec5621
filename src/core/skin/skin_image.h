#pragma once

#include "core/platform/bitmap32.h"
#include "core/raster/display_scale.h"
#include "core/raster/png_decoder.h"
#include "core/skin/skin_folder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace norvale {

// A decoded PNG as a premultiplied skin bitmap: each colour is first laid over the fill
// colour (0x00BBGGRR) as (c * a + f * (255 - a) + 255) >> 8, then multiplied by its alpha
// and divided by 255, rounded down. An image without an alpha channel takes its alpha from
// tRNS where it has one and is opaque otherwise.
Bitmap32 SkinBitmapFromPng(const PngImage& png, std::uint32_t fillColour);

// A path as UTF-8 text, as messages show it.
std::string PathText(const std::filesystem::path& path);

// The largest high-resolution variant a skin image may have: name@2x.png and name@3x.png
// beside name.png, drawn at two and three times its size.
inline constexpr int kLargestVariant = 3;

// A high-resolution variant of a skin image. Its file is checked when the skin loads (header,
// size, chunks) but decoded only when a display scale first draws from it; its bytes are kept
// until then and freed once it is decoded.
struct SkinImageVariant {
    std::string Name; // as messages show it
    std::string File;
    Bitmap32 Decoded;

    bool Present() const { return !File.empty() || Decoded.Width() > 0; }
};

// A skin image as its files hold it, so that it can be drawn at any display scale without
// reading a file again: the base image, decoded, and the variants beside it.
struct SkinImageFiles {
    std::string Name; // the base file's path, as messages show it
    std::uint32_t FillColour = 0;
    Bitmap32 Base;
    // Index 0 holds @2x, index 1 @3x; not present where the skin has no such file.
    std::array<SkinImageVariant, kLargestVariant - 1> Variants;

    bool HasVariant(int factor) const { return factor == 1 || Variants[factor - 2].Present(); }
    // The base image for 1, else the variant as decoded so far (empty before PrepareVariant).
    const Bitmap32& Variant(int factor) const {
        return factor == 1 ? Base : Variants[factor - 2].Decoded;
    }
};

// The variant's file name: "@2x" or "@3x" before the extension of the last name.
std::string VariantPath(std::string_view relativePath, int factor);

// The most bytes a PNG of this header may hold: its image data inflated, an eighth more (what
// the simplest encoders may add) and kMaxPngExtraBytes. A larger file is padded.
std::uint64_t MaxPngBytes(const PngHeader& header);

// Reads the PNG at relativePath in the skin folder (UTF-8, '\' or '/' between the names) and the
// variants beside it, counting each image's pixels against the skin's limits before it is
// decoded: the base image's pixels count 1 + weight times (weight: the bitmaps drawn from it,
// kDrawnImageWeight and its kin), a variant's once. The base image is decoded and its file's
// bytes freed; a variant is only checked (CheckPngChunks), unless decodeVariants asks for every
// one to be decoded now. Throws PngError or SkinFileError naming the file when the base image
// cannot be read, when a variant present cannot, when a file is larger than its pixels can
// need, when an image is too large, or when a variant is not exactly its factor times the base
// image's size.
SkinImageFiles ReadSkinImageFiles(std::string_view relativePath, std::uint32_t fillColour,
                                  std::uint64_t weight, SkinFolder& folder,
                                  bool decodeVariants = false);

// The variant a scale draws from: the smallest at least as large as the scale, else the
// largest the image has.
int VariantFactorFor(const SkinImageFiles& files, DisplayScale scale);

// The same, decoded: a variant whose compressed data turns out damaged is dropped, and the
// image is drawn from its other sizes (the base image at worst), as if the skin had never had
// it.
int PrepareVariant(SkinImageFiles& files, DisplayScale scale);

// Decodes the variant now; throws PngError naming its file when its data is damaged.
void DecodeVariant(SkinImageVariant& variant, std::uint32_t fillColour);

// The image at the scale: the chosen variant resampled to the base size mapped by the scale
// (a plain copy where the variant has that size already).
Bitmap32 ScaledSkinImage(SkinImageFiles& files, DisplayScale scale);

// The same for a strip of square cells as wide as the image is high: every cell is resampled
// on its own, so that none bleeds into its neighbour (a part cell at the end is left out).
Bitmap32 ScaledCellStrip(SkinImageFiles& files, DisplayScale scale);

} // namespace norvale
