#pragma once

#include "core/platform/bitmap32.h"

#include <cstdint>
#include <vector>

namespace norvale {

// A premultiplied bitmap as a PNG file: 8-bit RGBA with straight alpha, no interlace, every
// row unfiltered and the image data compressed with zlib. A fully transparent pixel is
// written as transparent black.
std::vector<std::uint8_t> EncodePng(const Bitmap32& premultiplied);

} // namespace norvale
