#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <zlib.h>

namespace norvale::png {

enum class InflateResult { Complete, TooMuchData, Truncated, BadData, OutOfMemory };

// Inflates the zlib stream split over the IDAT chunks that follow one another in `file` from
// the chunk at offset `first` (their lengths, types and CRCs already checked), a piece at a
// time: it keeps no more than zlib's window, however many chunks there are.
class Inflater {
public:
    Inflater(std::span<const std::uint8_t> file, std::size_t first);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Fills out[0, size) with the next bytes of the stream; Complete when all of them came.
    InflateResult Read(std::uint8_t* out, std::size_t size);
    // Complete when the stream ends where the bytes read so far end; data after the end of
    // the stream is not looked at.
    InflateResult Finish();

private:
    // Points zlib at the next chunk's data; false after the last IDAT chunk.
    bool NextChunk();
    // One step of inflate; Complete while it may go on.
    InflateResult Step();

    std::span<const std::uint8_t> FFile;
    std::size_t FNext;
    z_stream FStream{};
    bool FStarted = false;
    bool FEnded = false;
    std::uint8_t FExtra = 0;
};

// The whole stream into out[0, size), which must end exactly there.
InflateResult InflateAll(std::span<const std::uint8_t> file, std::size_t first, std::uint8_t* out,
                         std::size_t size);

} // namespace norvale::png
