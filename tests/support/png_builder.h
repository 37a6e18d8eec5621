#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

namespace norvale::testing {

// Writes PNG files chunk by chunk, so tests can make valid images and damage them on purpose.
class PngBuilder {
public:
    PngBuilder() { FBytes = {137, 80, 78, 71, 13, 10, 26, 10}; }

    PngBuilder& Chunk(const std::string& type, const std::vector<std::uint8_t>& data) {
        const std::size_t start = FBytes.size();
        Put32(static_cast<std::uint32_t>(data.size()));
        FBytes.insert(FBytes.end(), type.begin(), type.end());
        FBytes.insert(FBytes.end(), data.begin(), data.end());
        Put32(static_cast<std::uint32_t>(
            crc32(0, FBytes.data() + start + 4, static_cast<uInt>(data.size() + 4))));
        FChunkEnds.push_back(FBytes.size());
        return *this;
    }

    PngBuilder& Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                       int interlace = 0) {
        std::vector<std::uint8_t> data;
        Append32(data, width);
        Append32(data, height);
        data.insert(data.end(),
                    {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0,
                     0, static_cast<std::uint8_t>(interlace)});
        return Chunk("IHDR", data);
    }

    // One IDAT holding `raw` (rows with their filter bytes) compressed.
    PngBuilder& ImageData(const std::vector<std::uint8_t>& raw) {
        return Chunk("IDAT", Compress(raw));
    }

    PngBuilder& End() { return Chunk("IEND", {}); }

    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
    // File offsets just after each chunk written so far.
    const std::vector<std::size_t>& ChunkEnds() const { return FChunkEnds; }

    static std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& raw) {
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<std::uint8_t> packed(size);
        compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
        packed.resize(size);
        return packed;
    }

    static void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                    static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    }

private:
    void Put32(std::uint32_t v) { Append32(FBytes, v); }

    std::vector<std::uint8_t> FBytes;
    std::vector<std::size_t> FChunkEnds;
};

// Raw image data of `height` rows, each a filter byte followed by `row`.
inline std::vector<std::uint8_t> RepeatRows(const std::vector<std::uint8_t>& row, int height,
                                            std::uint8_t filter = 0) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(filter);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    return raw;
}

} // namespace norvale::testing
