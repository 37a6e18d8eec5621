#include "core/raster/png_inflate.h"

#include <zlib.h>

namespace norvale::png {

InflateResult InflateAll(const std::vector<std::span<const std::uint8_t>>& pieces,
                         std::uint8_t* out, std::uint64_t size) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return InflateResult::OutOfMemory;
    }
    struct Ender {
        z_stream& Stream;
        ~Ender() { inflateEnd(&Stream); }
    } ender{stream};
    // Every IDAT chunk's CRC has been checked already; a second checksum over the inflated
    // bytes would only cost time.
    inflateValidate(&stream, 0);

    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(size + 1);
    int result = Z_OK;
    for (const auto& piece : pieces) {
        stream.next_in = const_cast<Bytef*>(piece.data());
        stream.avail_in = static_cast<uInt>(piece.size());
        while (stream.avail_in > 0 && result == Z_OK) {
            result = inflate(&stream, Z_NO_FLUSH);
            if (stream.avail_out == 0) {
                return InflateResult::TooMuchData;
            }
        }
        if (result != Z_OK) {
            break;
        }
    }
    if (result == Z_MEM_ERROR) {
        return InflateResult::OutOfMemory;
    }
    if (result != Z_OK && result != Z_STREAM_END) {
        return InflateResult::BadData;
    }
    if (result != Z_STREAM_END || stream.total_out < size) {
        return InflateResult::Truncated;
    }
    return InflateResult::Complete;
}

} // namespace norvale::png
