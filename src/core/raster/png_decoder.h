#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// A decoded PNG: its size, its colour type and 8-bit samples red, green, blue, alpha for
// every pixel, top row first (palette and transparency expanded, 16-bit samples scaled).
struct PngImage {
    int Width = 0;
    int Height = 0;
    int ColourType = 0;
    std::vector<std::uint8_t> Rgba;
};

// A damaged or hostile file; the text names the file and the fault.
class PngError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Images larger than this are refused before anything is allocated for them.
inline constexpr std::uint32_t kPngMaxSide = 16384;
inline constexpr std::uint64_t kPngMaxPixels = 64ull * 1024 * 1024;

// What a PNG's IHDR chunk says of its image.
struct PngHeader {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    int BitDepth = 8;
    int ColourType = 6;
    bool Interlaced = false;
};

// The header of a file that starts like a PNG, read before anything else of it; nullopt for
// any other file (the decoder then says what is wrong).
std::optional<PngHeader> PeekPngHeader(std::span<const std::uint8_t> file);

// Bytes of the image's data once inflated: every row of every pass with its filter byte.
std::uint64_t PngImageDataBytes(const PngHeader& header);

// Decodes a whole PNG file held in memory; `name` is only used in error texts. Throws
// PngError for anything that is not a complete, valid PNG within the size limits.
PngImage DecodePng(std::span<const std::uint8_t> file, std::string_view name);

// What DecodePng checks before it inflates: the signature, the header, every critical chunk's
// CRC and order, and enough compressed data for the image; a file that passes can still hold
// damaged compressed data. Returns the header; throws PngError like DecodePng.
PngHeader CheckPngChunks(std::span<const std::uint8_t> file, std::string_view name);

} // namespace norvale
