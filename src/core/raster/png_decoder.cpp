#include "core/raster/png_decoder.h"

#include "core/raster/png_inflate.h"
#include "core/raster/png_rows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <zlib.h>

namespace norvale {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature{137, 80, 78, 71, 13, 10, 26, 10};

// Deflate turns two bits into at most 258 bytes; data that would need more is not there.
constexpr std::uint64_t kMaxInflateRatio = 1032;

constexpr std::uint32_t TypeCode(const char (&name)[5]) {
    return static_cast<std::uint32_t>(name[0]) << 24 | static_cast<std::uint32_t>(name[1]) << 16 |
           static_cast<std::uint32_t>(name[2]) << 8 | static_cast<std::uint32_t>(name[3]);
}

constexpr std::uint32_t kIhdr = TypeCode("IHDR");
constexpr std::uint32_t kPlte = TypeCode("PLTE");
constexpr std::uint32_t kIdat = TypeCode("IDAT");
constexpr std::uint32_t kIend = TypeCode("IEND");
constexpr std::uint32_t kTrns = TypeCode("tRNS");

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

std::string TypeName(std::uint32_t type) {
    return {static_cast<char>(type >> 24), static_cast<char>(type >> 16),
            static_cast<char>(type >> 8), static_cast<char>(type)};
}

bool IsLetter(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// One sub-image of the interlace scheme: first column and row, and the steps between them.
struct Pass {
    std::uint32_t X0, Y0, DX, DY;
};
constexpr std::array<Pass, 7> kAdam7{{{0, 0, 8, 8},
                                      {4, 0, 8, 8},
                                      {0, 4, 4, 8},
                                      {2, 0, 4, 4},
                                      {0, 2, 2, 4},
                                      {1, 0, 2, 2},
                                      {0, 1, 1, 2}}};
constexpr std::array<Pass, 1> kWholeImage{{{0, 0, 1, 1}}};

std::uint32_t PassExtent(std::uint32_t size, std::uint32_t first, std::uint32_t step) {
    return size > first ? (size - first + step - 1) / step : 0;
}

class Decoder {
public:
    Decoder(std::span<const std::uint8_t> file, std::string_view name) : FFile(file), FName(name) {}

    PngImage Run();
    // The signature and every chunk checked as Run checks them, without inflating anything.
    PngHeader CheckStructure();

private:
    [[noreturn]] void Fail(std::string_view fault) const {
        throw PngError(FName + ": " + std::string(fault));
    }

    void ReadChunks();
    void ReadHeader(std::span<const std::uint8_t> data);
    void ReadPalette(std::span<const std::uint8_t> data);
    void ReadTransparency(std::span<const std::uint8_t> data);
    std::span<const Pass> Passes() const;
    void Check(png::InflateResult result) const;
    void Reconstruct(PngImage& image) const;
    void ReconstructRgba8InPlace(std::uint8_t* data) const;

    std::span<const std::uint8_t> FFile;
    std::string FName;
    std::uint32_t FWidth = 0;
    std::uint32_t FHeight = 0;
    bool FInterlaced = false;
    bool FHasHeader = false;
    int FPaletteSize = 0;
    png::SampleFormat FFormat;
    std::size_t FFirstImageData = 0; // offset of the first IDAT chunk; 0 before one is seen
    std::uint64_t FImageDataBytes = 0;
};

PngHeader Decoder::CheckStructure() {
    if (FFile.size() < kSignature.size() ||
        std::memcmp(FFile.data(), kSignature.data(), kSignature.size()) != 0) {
        Fail("not a PNG file");
    }
    ReadChunks();
    const PngHeader header{FWidth, FHeight, FFormat.BitDepth, FFormat.ColourType, FInterlaced};
    // A few bytes of compressed data cannot stand for a huge image: refuse before allocating.
    if (PngImageDataBytes(header) > (FImageDataBytes + 1) * kMaxInflateRatio) {
        Fail("truncated image data");
    }
    return header;
}

PngImage Decoder::Run() {
    const std::uint64_t rawSize = PngImageDataBytes(CheckStructure());
    PngImage image;
    image.Width = static_cast<int>(FWidth);
    image.Height = static_cast<int>(FHeight);
    image.ColourType = FFormat.ColourType;
    const std::size_t imageSize = static_cast<std::size_t>(FWidth) * FHeight * 4;
    if (FFormat.ColourType == 6 && FFormat.BitDepth == 8 && !FInterlaced) {
        // The usual skin image: its data is the image plus one filter byte per row, so it
        // is inflated into the image itself.
        image.Rgba.resize(static_cast<std::size_t>(rawSize));
        Check(png::InflateAll(FFile, FFirstImageData, image.Rgba.data(), image.Rgba.size()));
        ReconstructRgba8InPlace(image.Rgba.data());
        image.Rgba.resize(imageSize);
    } else {
        image.Rgba.resize(imageSize);
        Reconstruct(image);
    }
    return image;
}

// Walks the chunks up to IEND, checking each critical chunk's CRC, and keeps the header,
// palette, transparency and the pieces of compressed image data.
void Decoder::ReadChunks() {
    std::size_t pos = kSignature.size();
    bool dataEnded = false;
    for (;;) {
        if (FFile.size() - pos < 12) {
            Fail("truncated file");
        }
        const std::uint8_t* head = FFile.data() + pos;
        const std::uint32_t length = Read32(head);
        if (length > 0x7FFFFFFFu) {
            Fail("bad chunk length");
        }
        if (FFile.size() - pos - 12 < length) {
            Fail("truncated file");
        }
        const std::uint32_t type = Read32(head + 4);
        if (!IsLetter(head[4]) || !IsLetter(head[5]) || !IsLetter(head[6]) || !IsLetter(head[7])) {
            Fail("bad chunk type");
        }
        const std::span<const std::uint8_t> data(head + 8, length);
        pos += 12 + static_cast<std::size_t>(length);

        const bool critical = (head[4] & 0x20) == 0;
        const bool used = critical || type == kTrns;
        if (used) {
            const auto crc = crc32(crc32(0, nullptr, 0), head + 4, length + 4);
            if (crc != Read32(head + 8 + length)) {
                if (!critical) {
                    continue; // a damaged ancillary chunk is dropped, as if absent
                }
                Fail("CRC error in " + TypeName(type));
            }
        }
        if (!FHasHeader && type != kIhdr) {
            Fail("missing IHDR");
        }
        if (type != kIdat && FFirstImageData != 0) {
            dataEnded = true;
        }
        if (type == kIhdr) {
            ReadHeader(data);
        } else if (type == kPlte) {
            ReadPalette(data);
        } else if (type == kTrns) {
            ReadTransparency(data);
        } else if (type == kIdat) {
            if (dataEnded) {
                Fail("IDAT chunks not consecutive");
            }
            if (FFormat.ColourType == 3 && FPaletteSize == 0) {
                Fail("missing palette");
            }
            if (FFirstImageData == 0) {
                FFirstImageData = static_cast<std::size_t>(head - FFile.data());
            }
            FImageDataBytes += length;
        } else if (type == kIend) {
            break;
        } else if (critical) {
            Fail("unknown critical chunk " + TypeName(type));
        }
    }
    if (FFirstImageData == 0) {
        Fail("missing image data");
    }
}

void Decoder::ReadHeader(std::span<const std::uint8_t> data) {
    if (FHasHeader) {
        Fail("duplicate IHDR");
    }
    if (data.size() != 13) {
        Fail("bad IHDR length");
    }
    FHasHeader = true;
    FWidth = Read32(data.data());
    FHeight = Read32(data.data() + 4);
    const int depth = data[8];
    const int colourType = data[9];
    if (FWidth == 0 || FHeight == 0 || FWidth > 0x7FFFFFFFu || FHeight > 0x7FFFFFFFu) {
        Fail("bad image size");
    }
    if (FWidth > kPngMaxSide || FHeight > kPngMaxSide ||
        static_cast<std::uint64_t>(FWidth) * FHeight > kPngMaxPixels) {
        Fail("image too large");
    }
    bool depthValid = false;
    switch (colourType) {
    case 0:
        depthValid = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        break;
    case 3:
        depthValid = depth == 1 || depth == 2 || depth == 4 || depth == 8;
        break;
    case 2:
    case 4:
    case 6:
        depthValid = depth == 8 || depth == 16;
        break;
    default:
        Fail("bad colour type " + std::to_string(colourType));
    }
    if (!depthValid) {
        Fail("bad bit depth " + std::to_string(depth) + " for colour type " +
             std::to_string(colourType));
    }
    if (data[10] != 0) {
        Fail("unknown compression method");
    }
    if (data[11] != 0) {
        Fail("unknown filter method");
    }
    if (data[12] > 1) {
        Fail("unknown interlace method");
    }
    FFormat.ColourType = colourType;
    FFormat.BitDepth = depth;
    FInterlaced = data[12] == 1;
    for (auto& entry : FFormat.Palette) {
        entry = {0, 0, 0, 255};
    }
}

void Decoder::ReadPalette(std::span<const std::uint8_t> data) {
    if (FFirstImageData != 0) {
        Fail("palette after image data");
    }
    if (FPaletteSize != 0) {
        Fail("duplicate palette");
    }
    const int type = FFormat.ColourType;
    if (type == 0 || type == 4) {
        Fail("unexpected palette");
    }
    const std::size_t entries = data.size() / 3;
    const std::size_t limit = type == 3 ? std::size_t{1} << FFormat.BitDepth : 256;
    if (data.size() % 3 != 0 || entries == 0 || entries > limit) {
        Fail("bad palette");
    }
    FPaletteSize = static_cast<int>(entries);
    if (type != 3) {
        return; // a suggested palette for true-colour images is of no use here
    }
    for (std::size_t i = 0; i < entries; ++i) {
        FFormat.Palette[i] = {data[3 * i], data[3 * i + 1], data[3 * i + 2], 255};
    }
}

// Applies a tRNS chunk; one that does not fit the image is ignored, like other damaged
// ancillary chunks.
void Decoder::ReadTransparency(std::span<const std::uint8_t> data) {
    if (FFirstImageData != 0) {
        return;
    }
    switch (FFormat.ColourType) {
    case 3:
        if (FPaletteSize > 0 && data.size() <= static_cast<std::size_t>(FPaletteSize)) {
            for (std::size_t i = 0; i < data.size(); ++i) {
                FFormat.Palette[i][3] = data[i];
            }
        }
        break;
    case 0:
    case 2: {
        const std::size_t samples = FFormat.ColourType == 0 ? 1 : 3;
        if (data.size() == 2 * samples) {
            FFormat.HasTransparentColour = true;
            for (std::size_t i = 0; i < samples; ++i) {
                FFormat.TransparentColour[i] =
                    static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
            }
        }
        break;
    }
    default:
        break;
    }
}

std::span<const Pass> Decoder::Passes() const {
    if (FInterlaced) {
        return kAdam7;
    }
    return kWholeImage;
}

void Decoder::Check(png::InflateResult result) const {
    switch (result) {
    case png::InflateResult::Complete:
        return;
    case png::InflateResult::TooMuchData:
        Fail("too much image data");
    case png::InflateResult::Truncated:
        Fail("truncated image data");
    case png::InflateResult::BadData:
        Fail("bad compressed data");
    case png::InflateResult::OutOfMemory:
        Fail("out of memory");
    }
}

// Inflates the image data a row at a time, undoes each row's filter against the row above and
// widens its pixels into the image: two rows are all it keeps besides the image.
void Decoder::Reconstruct(PngImage& image) const {
    const int channels = png::ChannelsOf(FFormat.ColourType);
    const std::size_t pixelBytes =
        std::max<std::size_t>(1, static_cast<std::size_t>(channels) * FFormat.BitDepth / 8);
    png::Inflater inflater(FFile, FFirstImageData);
    const std::size_t widest = png::RowBytes(FWidth, channels, FFormat.BitDepth) + 1;
    std::vector<std::uint8_t> rows(2 * widest);
    for (const Pass& pass : Passes()) {
        const std::uint32_t w = PassExtent(FWidth, pass.X0, pass.DX);
        const std::uint32_t h = PassExtent(FHeight, pass.Y0, pass.DY);
        if (w == 0 || h == 0) {
            continue;
        }
        const std::size_t rowBytes = png::RowBytes(w, channels, FFormat.BitDepth);
        std::uint8_t* in = rows.data();
        std::uint8_t* above = rows.data() + widest;
        const std::uint8_t* previous = nullptr;
        for (std::uint32_t j = 0; j < h; ++j) {
            Check(inflater.Read(in, rowBytes + 1));
            std::uint8_t* row = in + 1;
            if (!png::Unfilter(in[0], row, previous, rowBytes, pixelBytes)) {
                Fail("bad filter type " + std::to_string(in[0]));
            }
            const std::size_t y = pass.Y0 + static_cast<std::size_t>(j) * pass.DY;
            std::uint8_t* out = image.Rgba.data() + (y * FWidth + pass.X0) * 4;
            png::ExpandRow(FFormat, row, w, out, static_cast<std::size_t>(pass.DX) * 4);
            previous = row;
            std::swap(in, above);
        }
    }
    Check(inflater.Finish());
}

// Undoes the filters of 8-bit RGBA rows lying in `data` with their filter bytes, moving each
// row down to its place in the image; a row's place ends before the next row's data starts.
void Decoder::ReconstructRgba8InPlace(std::uint8_t* data) const {
    const std::size_t rowBytes = static_cast<std::size_t>(FWidth) * 4;
    const std::uint8_t* previous = nullptr;
    for (std::size_t y = 0; y < FHeight; ++y) {
        std::uint8_t* in = data + y * (rowBytes + 1);
        if (!png::Unfilter(in[0], in + 1, previous, rowBytes, 4)) {
            Fail("bad filter type " + std::to_string(in[0]));
        }
        std::uint8_t* out = data + y * rowBytes;
        std::memmove(out, in + 1, rowBytes);
        previous = out;
    }
}

} // namespace

std::uint64_t PngImageDataBytes(const PngHeader& header) {
    const int channels = png::ChannelsOf(header.ColourType);
    std::uint64_t total = 0;
    const std::span<const Pass> passes =
        header.Interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kWholeImage);
    for (const Pass& pass : passes) {
        const std::uint32_t w = PassExtent(header.Width, pass.X0, pass.DX);
        const std::uint32_t h = PassExtent(header.Height, pass.Y0, pass.DY);
        if (w > 0 && h > 0) {
            total +=
                static_cast<std::uint64_t>(h) * (1 + png::RowBytes(w, channels, header.BitDepth));
        }
    }
    return total;
}

std::optional<PngHeader> PeekPngHeader(std::span<const std::uint8_t> file) {
    // The signature, then IHDR's length and type, then its 13 bytes.
    constexpr std::size_t kHeaderEnd = 8 + 8 + 13;
    if (file.size() < kHeaderEnd ||
        std::memcmp(file.data(), kSignature.data(), kSignature.size()) != 0 ||
        Read32(file.data() + 12) != kIhdr) {
        return std::nullopt;
    }
    const std::uint8_t* data = file.data() + 16;
    return PngHeader{Read32(data), Read32(data + 4), data[8], data[9], data[12] == 1};
}

PngImage DecodePng(std::span<const std::uint8_t> file, std::string_view name) {
    return Decoder(file, name).Run();
}

PngHeader CheckPngChunks(std::span<const std::uint8_t> file, std::string_view name) {
    return Decoder(file, name).CheckStructure();
}

} // namespace norvale
