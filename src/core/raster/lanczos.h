#pragma once

#include "core/raster/bitmap32.h"

#include <array>
#include <vector>

namespace norvale {

// Samples a bitmap between its pixels with a Lanczos kernel of radius 3 in x and in y.
// Coordinates are in pixels, pixel (i, j) centred on (i, j). The weights come from a table
// at 1/256 pixel (single precision), normalised so that they sum to one for every sample
// point; pixels outside the bitmap count as transparent. The filtering is done on the
// premultiplied channels and the result is rounded to the nearest integer and clamped so that
// alpha stays in 0..255 and every colour channel at most alpha.
class LanczosSampler {
public:
    // Keeps a float copy of the bitmap with a transparent border as wide as the kernel.
    explicit LanczosSampler(const Bitmap32& bitmap);

    // The sample at (u, v), for -0.5 <= u < Width - 0.5 and -0.5 <= v < Height - 0.5.
    Pixel32 Sample(double u, double v) const;

private:
    using Channels = std::array<float, 4>; // blue, green, red, alpha

    const std::array<std::array<float, 6>, 256>& FWeights; // per phase, taps i - 2 .. i + 3
    int FStride;
    std::vector<Channels> FPixels;
};

} // namespace norvale
