#include "core/raster/lanczos.h"

#include "core/raster/simd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace norvale {
namespace {

constexpr int kRadius = 3;
constexpr int kTaps = 2 * kRadius;
constexpr int kPhases = 256;

double Sinc(double x) {
    if (x == 0) {
        return 1;
    }
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

double Lanczos3(double x) {
    return std::abs(x) < kRadius ? Sinc(x) * Sinc(x / kRadius) : 0;
}

// Splits a coordinate into the index of the first of a kernel's taps and the phase of the
// sample point (the coordinate rounded to 1/256 pixel).
void Locate(double t, int reach, int& first, int& phase) {
    // Truncation rounds towards zero; shifted into the positive range it rounds down.
    constexpr std::int64_t kShift = std::int64_t{1} << 40;
    const auto steps = static_cast<std::int64_t>(t * kPhases + 0.5 + kShift) - kShift;
    phase = static_cast<int>(steps & (kPhases - 1));
    first = static_cast<int>((steps - phase) / kPhases) - (reach - 1);
}

} // namespace

// Weights of taps i - Reach + 1 .. i + Reach for a sample point i + phase / 256, each row
// normalised to sum to one. At shrink 1 integer sample points get exactly one tap of weight 1.
LanczosKernel::LanczosKernel(double shrink)
    : FReach(static_cast<int>(std::ceil(kRadius * shrink))),
      FWeights(static_cast<std::size_t>(kPhases) * 2 * FReach) {
    const int taps = Taps();
    std::vector<double> raw(static_cast<std::size_t>(taps));
    for (int phase = 0; phase < kPhases; ++phase) {
        const double f = static_cast<double>(phase) / kPhases;
        double sum = 0;
        for (int k = 0; k < taps; ++k) {
            raw[k] = Lanczos3((f + FReach - 1 - k) / shrink);
            sum += raw[k];
        }
        for (int k = 0; k < taps; ++k) {
            FWeights[static_cast<std::size_t>(phase) * taps + k] = static_cast<float>(raw[k] / sum);
        }
    }
}

const LanczosKernel& LanczosKernel::Interpolating() {
    static const LanczosKernel kernel;
    return kernel;
}

LanczosSampler::LanczosSampler(const Bitmap32& bitmap, const LanczosKernel& kernel)
    : FKernel(kernel), FStride(bitmap.Width() + kernel.Taps()) {
    CopyRows(bitmap, -kernel.Reach(), bitmap.Height() + kernel.Taps());
}

LanczosSampler::LanczosSampler(const Bitmap32& bitmap, const LanczosKernel& kernel, double firstV,
                               double lastV)
    : FKernel(kernel), FStride(bitmap.Width() + kernel.Taps()) {
    // A point's taps start at most reach - 1 rows above its row and end reach rows below the
    // row after it (its phase may round it up).
    const int first = static_cast<int>(std::floor(firstV)) - kernel.Reach();
    const int last = static_cast<int>(std::floor(lastV)) + 1 + kernel.Reach();
    CopyRows(bitmap, first, last - first + 1);
}

void LanczosSampler::CopyRows(const Bitmap32& bitmap, int top, int rows) {
    const int reach = FKernel.Reach();
    FTop = top;
    FPixels.assign(static_cast<std::size_t>(FStride) * rows, Channels{});
    const int from = std::max(0, top);
    const int to = std::min(bitmap.Height(), top + rows);
    for (int y = from; y < to; ++y) {
        Channels* out = FPixels.data() + static_cast<std::size_t>(y - top) * FStride + reach;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Pixel32 p = bitmap.At(x, y);
            out[x] = {static_cast<float>(BlueOf(p)), static_cast<float>(GreenOf(p)),
                      static_cast<float>(RedOf(p)), static_cast<float>(AlphaOf(p))};
        }
    }
}

Pixel32 LanczosSampler::Sample(double u, double v) const {
    // The interpolating kernel's six taps are unrolled; a widened kernel loops.
    return FKernel.Taps() == kTaps ? SampleWith<kTaps>(u, v) : SampleWith<0>(u, v);
}

template <int FixedTaps>
Pixel32 LanczosSampler::SampleWith(double u, double v) const {
    const int taps = FixedTaps > 0 ? FixedTaps : FKernel.Taps();
    const int reach = taps / 2;
    int x0;
    int xPhase;
    int y0;
    int yPhase;
    Locate(u, reach, x0, xPhase);
    Locate(v, reach, y0, yPhase);
    const float* wx = FKernel.Weights(xPhase);
    const float* wy = FKernel.Weights(yPhase);
    // Within the allowed range the taps start at -reach at the least: on the border.
    const Channels* first =
        FPixels.data() + static_cast<std::ptrdiff_t>(y0 - FTop) * FStride + (x0 + reach);
    Channels sum{};
#ifdef NORVALE_SSE2
    // One pixel's four channels side by side in a register.
    __m128 total = _mm_setzero_ps();
    for (int ky = 0; ky < taps; ++ky) {
        const Channels* row = first + static_cast<std::ptrdiff_t>(ky) * FStride;
        __m128 rowSum = _mm_setzero_ps();
        for (int kx = 0; kx < taps; ++kx) {
            rowSum =
                _mm_add_ps(rowSum, _mm_mul_ps(_mm_loadu_ps(row[kx].data()), _mm_set1_ps(wx[kx])));
        }
        total = _mm_add_ps(total, _mm_mul_ps(rowSum, _mm_set1_ps(wy[ky])));
    }
    _mm_storeu_ps(sum.data(), total);
#else
    for (int ky = 0; ky < taps; ++ky) {
        const Channels* row = first + static_cast<std::ptrdiff_t>(ky) * FStride;
        Channels rowSum{};
        for (int kx = 0; kx < taps; ++kx) {
            for (int c = 0; c < 4; ++c) {
                rowSum[c] += row[kx][c] * wx[kx];
            }
        }
        for (int c = 0; c < 4; ++c) {
            sum[c] += rowSum[c] * wy[ky];
        }
    }
#endif
    const auto channel = [&](int c, float limit) {
        return static_cast<std::uint32_t>(std::clamp(sum[c] + 0.5f, 0.0f, limit + 0.5f));
    };
    const std::uint32_t alpha = channel(3, 255);
    const auto colourLimit = static_cast<float>(alpha);
    return MakePixel(channel(0, colourLimit), channel(1, colourLimit), channel(2, colourLimit),
                     alpha);
}

Bitmap32 ResampleLanczos(const Bitmap32& source, int width, int height) {
    const int sw = source.Width();
    const int sh = source.Height();
    if (width == sw && height == sh) {
        return source;
    }
    Bitmap32 target(width, height);
    if (sw == 0 || sh == 0) {
        return target;
    }
    const double xStep = static_cast<double>(sw) / width;
    const double yStep = static_cast<double>(sh) / height;
    const double shrink = std::max({1.0, xStep, yStep});
    std::optional<LanczosKernel> widened;
    if (shrink > 1) {
        widened.emplace(shrink);
    }
    const LanczosKernel& kernel = widened ? *widened : LanczosKernel::Interpolating();
    // The target is made in bands of rows, each from a sampler of the few source rows it
    // reaches, so that a large source is never held whole in floats.
    constexpr double kBandSourceRows = 64;
    const int bandRows = std::max(1, static_cast<int>(kBandSourceRows / yStep));
    // Each target pixel centre maps to the same place of the source's extent.
    const auto sourceV = [yStep](int y) { return (y + 0.5) * yStep - 0.5; };
    for (int band = 0; band < target.Height(); band += bandRows) {
        const int end = std::min(target.Height(), band + bandRows);
        const LanczosSampler sampler(source, kernel, sourceV(band), sourceV(end - 1));
        for (int y = band; y < end; ++y) {
            const double v = sourceV(y);
            Pixel32* row = target.Row(y);
            for (int x = 0; x < target.Width(); ++x) {
                row[x] = sampler.Sample((x + 0.5) * xStep - 0.5, v);
            }
        }
    }
    return target;
}

} // namespace norvale
