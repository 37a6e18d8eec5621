#pragma once

#include "core/raster/bitmap32.h"

namespace norvale {

// The bitmap sampled at (u, v) in pixel coordinates (pixel (i, j) is centred on (i, j)) with
// a Lanczos kernel of radius 3 in x and in y. The weights come from a table at 1/256 pixel
// (single precision), normalised so that they sum to one for every sample point; the result
// is rounded to the nearest integer. Pixels outside the bitmap count
// as transparent. The filtering is done on the premultiplied channels, and the result is
// clamped so that alpha stays in 0..255 and every colour channel at most alpha.
Pixel32 SampleLanczos3(const Bitmap32& bitmap, double u, double v);

} // namespace norvale
