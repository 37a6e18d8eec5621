#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Internal steps of the PNG decoder: undoing the row filters and widening the samples of
// one row to 8-bit RGBA.

namespace norvale::png {

// The format of the samples of one image, as IHDR, PLTE and tRNS describe it.
struct SampleFormat {
    int ColourType = 0;
    int BitDepth = 8;
    // Palette (colour type 3) with transparency applied; unused entries are opaque black.
    std::array<std::array<std::uint8_t, 4>, 256> Palette{};
    // The transparent colour of types 0 and 2 (tRNS), at the image's bit depth.
    bool HasTransparentColour = false;
    std::array<std::uint16_t, 3> TransparentColour{};
};

// Samples per pixel of a colour type (1, 2, 3 or 4).
int ChannelsOf(int colourType);

// Bytes of one filtered row of `width` pixels, without the filter-type byte.
std::size_t RowBytes(std::uint32_t width, int channels, int bitDepth);

// Undoes the filter of one row in place. `previous` is the row above, already unfiltered
// (nullptr for the first row); `pixelBytes` is the filters' byte distance to the left
// neighbour. Returns false for an unknown filter type.
bool Unfilter(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* previous,
              std::size_t rowBytes, std::size_t pixelBytes);

// Widens `count` pixels of an unfiltered row to RGBA, writing every `step`-th pixel of `out`.
void ExpandRow(const SampleFormat& format, const std::uint8_t* row, std::uint32_t count,
               std::uint8_t* out, std::size_t step);

} // namespace norvale::png
