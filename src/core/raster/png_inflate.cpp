#include "core/raster/png_inflate.h"

namespace norvale::png {
namespace {

constexpr std::uint32_t kIdat = 0x49444154;

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

} // namespace

Inflater::Inflater(std::span<const std::uint8_t> file, std::size_t first)
    : FFile(file), FNext(first) {
    FStarted = inflateInit(&FStream) == Z_OK;
    // Every IDAT chunk's CRC has been checked already; a second checksum over the inflated
    // bytes would only cost time.
    if (FStarted) {
        inflateValidate(&FStream, 0);
    }
}

Inflater::~Inflater() {
    if (FStarted) {
        inflateEnd(&FStream);
    }
}

bool Inflater::NextChunk() {
    if (FFile.size() - FNext < 12 || Read32(FFile.data() + FNext + 4) != kIdat) {
        return false;
    }
    const std::uint32_t length = Read32(FFile.data() + FNext);
    FStream.next_in = const_cast<Bytef*>(FFile.data() + FNext + 8);
    FStream.avail_in = length;
    FNext += 12 + static_cast<std::size_t>(length);
    return true;
}

InflateResult Inflater::Step() {
    if (FStream.avail_in == 0 && !NextChunk()) {
        return InflateResult::Truncated;
    }
    switch (inflate(&FStream, Z_NO_FLUSH)) {
    case Z_OK:
        return InflateResult::Complete;
    case Z_STREAM_END:
        FEnded = true;
        return InflateResult::Complete;
    case Z_BUF_ERROR: // no progress: an empty chunk, the next one is taken
        return FStream.avail_in == 0 ? InflateResult::Complete : InflateResult::BadData;
    case Z_MEM_ERROR:
        return InflateResult::OutOfMemory;
    default:
        return InflateResult::BadData;
    }
}

InflateResult Inflater::Read(std::uint8_t* out, std::size_t size) {
    if (!FStarted) {
        return InflateResult::OutOfMemory;
    }
    FStream.next_out = out;
    FStream.avail_out = static_cast<uInt>(size);
    while (FStream.avail_out > 0) {
        if (FEnded) {
            return InflateResult::Truncated;
        }
        if (const InflateResult step = Step(); step != InflateResult::Complete) {
            return step;
        }
    }
    return InflateResult::Complete;
}

InflateResult Inflater::Finish() {
    if (!FStarted) {
        return InflateResult::OutOfMemory;
    }
    // Room for one byte more: the stream must end without filling it.
    FStream.next_out = &FExtra;
    FStream.avail_out = 1;
    while (!FEnded) {
        if (const InflateResult step = Step(); step != InflateResult::Complete) {
            return step;
        }
        if (FStream.avail_out == 0) {
            return InflateResult::TooMuchData;
        }
    }
    return InflateResult::Complete;
}

InflateResult InflateAll(std::span<const std::uint8_t> file, std::size_t first, std::uint8_t* out,
                         std::size_t size) {
    Inflater inflater(file, first);
    const InflateResult read = inflater.Read(out, size);
    return read == InflateResult::Complete ? inflater.Finish() : read;
}

} // namespace norvale::png
