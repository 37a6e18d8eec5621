#pragma once

#include <cstdint>

namespace norvale {

// What one skin may ask of the clock. Each is checked before anything is allocated for it.

// The longest side of any image of the skin, in skin pixels (its @2x and @3x files may be two
// and three times as long): room for a face larger than most screens at 100 %, whose bitmaps
// at 300 % (3072 pixels a side) still take tens, not hundreds, of megabytes each.
inline constexpr int kMaxSkinSide = 1024;
// Every pixel decoded from all the skin's images and their variants together.
inline constexpr std::uint64_t kMaxSkinPixels = 24ull * 1024 * 1024;
inline constexpr std::uint64_t kMaxSkinXmlBytes = 1ull << 20;
inline constexpr std::uint64_t kMaxSkinFontBytes = 32ull << 20;
inline constexpr int kMaxSkinFonts = 16;
// A label's font size, in points.
inline constexpr int kMaxSkinFontSize = 400;
// Every position, width and height of a label or button, and every hand value, lies within
// this distance of 0, in skin pixels.
inline constexpr int kMaxSkinCoordinate = 16384;

} // namespace norvale
