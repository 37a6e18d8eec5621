#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace norvale::png {

enum class InflateResult { Complete, TooMuchData, Truncated, BadData, OutOfMemory };

// Inflates the zlib stream split over `pieces` (the IDAT chunks) into `out` in one go.
// `out` has room for size + 1 bytes, so that a stream running over is seen; Complete means
// the stream ended with exactly `size` bytes.
InflateResult InflateAll(const std::vector<std::span<const std::uint8_t>>& pieces,
                         std::uint8_t* out, std::uint64_t size);

} // namespace norvale::png
