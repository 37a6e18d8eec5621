#include "core/raster/png_encoder.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <zlib.h>

namespace norvale {
namespace {

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Appends one chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// Straight colour from premultiplied: c * 255 / a rounded to the nearest, at most 255.
std::uint8_t Unpremultiply(std::uint32_t c, std::uint32_t a) {
    const std::uint32_t value = (c * 255 + a / 2) / a;
    return static_cast<std::uint8_t>(value > 255 ? 255 : value);
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Bitmap32& premultiplied) {
    const int w = premultiplied.Width();
    const int h = premultiplied.Height();
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(h) * (1 + 4 * static_cast<std::size_t>(w)));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0); // filter type None
        const Pixel32* row = premultiplied.Row(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = AlphaOf(row[x]);
            if (a == 0) {
                raw.insert(raw.end(), 4, 0);
                continue;
            }
            raw.push_back(Unpremultiply(RedOf(row[x]), a));
            raw.push_back(Unpremultiply(GreenOf(row[x]), a));
            raw.push_back(Unpremultiply(BlueOf(row[x]), a));
            raw.push_back(static_cast<std::uint8_t>(a));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("PNG: the image data cannot be compressed");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(w));
    PutBigEndian(header, static_cast<std::uint32_t>(h));
    // Bit depth 8, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});

    constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> file(kSignature.begin(), kSignature.end());
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    return file;
}

} // namespace norvale
