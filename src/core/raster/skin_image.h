#pragma once

#include "core/raster/bitmap32.h"
#include "core/raster/png_decoder.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace norvale {

// A decoded PNG as a premultiplied skin bitmap: each colour is first laid over the fill
// colour (0x00BBGGRR) as (c * a + f * (255 - a) + 255) >> 8, then multiplied by its alpha
// and divided by 255, rounded down. An image without an alpha channel takes its alpha from
// tRNS where it has one and is opaque otherwise.
Bitmap32 SkinBitmapFromPng(const PngImage& png, std::uint32_t fillColour);

// Reads the PNG at programFolder + relativePath (UTF-8, '\' or '/' between the names) into
// target, which takes the image's size. Throws PngError naming the file when it cannot be
// read or is not a valid PNG.
void LoadSkinImage(Bitmap32& target, std::string_view relativePath, std::uint32_t fillColour,
                   const std::filesystem::path& programFolder);

} // namespace norvale
