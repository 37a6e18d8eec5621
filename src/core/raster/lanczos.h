#pragma once

#include "core/platform/bitmap32.h"

#include <array>
#include <vector>

namespace norvale {

// The Lanczos-3 weights, tabulated at 1/256 pixel and normalised so that they sum to one for
// every sample point. For a shrinking resample the kernel is widened by `shrink` (source
// pixels per target pixel), so that it filters out the detail the smaller grid cannot hold;
// at 1 it is the plain interpolating kernel of six taps.
class LanczosKernel {
public:
    explicit LanczosKernel(double shrink = 1);

    // The kernel of a resample that does not shrink, shared by every such sampler.
    static const LanczosKernel& Interpolating();

    // Taps on each side of a sample point: the taps of point i + f are i - Reach + 1 ..
    // i + Reach.
    int Reach() const { return FReach; }
    int Taps() const { return 2 * FReach; }
    // The weights of the taps for the phase (the sample point's fraction in 1/256 pixel).
    const float* Weights(int phase) const {
        return FWeights.data() + static_cast<std::ptrdiff_t>(phase) * Taps();
    }

private:
    int FReach;
    std::vector<float> FWeights;
};

// Samples a bitmap between its pixels with a Lanczos kernel in x and in y. Coordinates are in
// pixels, pixel (i, j) centred on (i, j); pixels outside the bitmap count as transparent. The
// filtering is done on the premultiplied channels and the result is rounded to the nearest
// integer and clamped so that alpha stays in 0..255 and every colour channel at most alpha.
class LanczosSampler {
public:
    // Keeps a float copy of the bitmap with a transparent border as wide as the kernel; the
    // kernel must outlive the sampler.
    explicit LanczosSampler(const Bitmap32& bitmap,
                            const LanczosKernel& kernel = LanczosKernel::Interpolating());
    // The same for sample points whose v lies within [firstV, lastV] only: just the rows their
    // taps reach are copied, so that a band of a large bitmap takes little memory.
    LanczosSampler(const Bitmap32& bitmap, const LanczosKernel& kernel, double firstV,
                   double lastV);

    // The sample at (u, v), for -0.5 <= u < Width - 0.5 and -0.5 <= v < Height - 0.5.
    Pixel32 Sample(double u, double v) const;

private:
    using Channels = std::array<float, 4>; // blue, green, red, alpha

    // The sample with the kernel's taps fixed at compile time, or read from it (0).
    template <int FixedTaps>
    Pixel32 SampleWith(double u, double v) const;

    // Copies the bitmap's rows from `top` on, `rows` of them, those outside it transparent.
    void CopyRows(const Bitmap32& bitmap, int top, int rows);

    const LanczosKernel& FKernel;
    int FStride;
    int FTop = 0; // the bitmap's row held first
    std::vector<Channels> FPixels;
};

// The whole source drawn at width x height with the Lanczos kernel (widened where it
// shrinks); the same size gives a plain copy.
Bitmap32 ResampleLanczos(const Bitmap32& source, int width, int height);

} // namespace norvale
