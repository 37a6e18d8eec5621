#include "core/raster/lanczos.h"

#include "core/raster/simd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

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

// Weights of taps i - 2 .. i + 3 for a sample point i + phase / 256, each row normalised to
// sum to one. Integer sample points get exactly one tap of weight 1.
using WeightTable = std::array<std::array<float, kTaps>, kPhases>;

WeightTable MakeWeights() {
    WeightTable table{};
    for (int phase = 0; phase < kPhases; ++phase) {
        const double f = static_cast<double>(phase) / kPhases;
        double raw[kTaps];
        double sum = 0;
        for (int k = 0; k < kTaps; ++k) {
            raw[k] = Lanczos3(f + kRadius - 1 - k);
            sum += raw[k];
        }
        for (int k = 0; k < kTaps; ++k) {
            table[phase][k] = static_cast<float>(raw[k] / sum);
        }
    }
    return table;
}

const WeightTable& Weights() {
    static const WeightTable table = MakeWeights();
    return table;
}

// Splits a coordinate into the index of the first tap and the phase of the sample point
// (the coordinate rounded to 1/256 pixel).
void Locate(double t, int& first, int& phase) {
    // Truncation rounds towards zero; shifted into the positive range it rounds down.
    constexpr std::int64_t kShift = std::int64_t{1} << 40;
    const auto steps = static_cast<std::int64_t>(t * kPhases + 0.5 + kShift) - kShift;
    phase = static_cast<int>(steps & (kPhases - 1));
    first = static_cast<int>((steps - phase) / kPhases) - (kRadius - 1);
}

} // namespace

LanczosSampler::LanczosSampler(const Bitmap32& bitmap)
    : FWeights(Weights()), FStride(bitmap.Width() + kTaps),
      FPixels(static_cast<std::size_t>(FStride) * (bitmap.Height() + kTaps)) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        Channels* out = FPixels.data() + static_cast<std::size_t>(y + kRadius) * FStride + kRadius;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Pixel32 p = bitmap.At(x, y);
            out[x] = {static_cast<float>(BlueOf(p)), static_cast<float>(GreenOf(p)),
                      static_cast<float>(RedOf(p)), static_cast<float>(AlphaOf(p))};
        }
    }
}

Pixel32 LanczosSampler::Sample(double u, double v) const {
    int x0;
    int xPhase;
    int y0;
    int yPhase;
    Locate(u, x0, xPhase);
    Locate(v, y0, yPhase);
    const auto& wx = FWeights[xPhase];
    const auto& wy = FWeights[yPhase];
    // Within the allowed range the taps start at -3 at the least: on the border.
    const Channels* first =
        FPixels.data() + static_cast<std::ptrdiff_t>(y0 + kRadius) * FStride + (x0 + kRadius);
    Channels sum{};
#ifdef NORVALE_SSE2
    // One pixel's four channels side by side in a register.
    __m128 weights[kTaps];
    for (int k = 0; k < kTaps; ++k) {
        weights[k] = _mm_set1_ps(wx[k]);
    }
    __m128 total = _mm_setzero_ps();
    for (int ky = 0; ky < kTaps; ++ky) {
        const Channels* row = first + static_cast<std::ptrdiff_t>(ky) * FStride;
        __m128 rowSum = _mm_setzero_ps();
        for (int kx = 0; kx < kTaps; ++kx) {
            rowSum = _mm_add_ps(rowSum, _mm_mul_ps(_mm_loadu_ps(row[kx].data()), weights[kx]));
        }
        total = _mm_add_ps(total, _mm_mul_ps(rowSum, _mm_set1_ps(wy[ky])));
    }
    _mm_storeu_ps(sum.data(), total);
#else
    for (int ky = 0; ky < kTaps; ++ky) {
        const Channels* row = first + static_cast<std::ptrdiff_t>(ky) * FStride;
        Channels rowSum{};
        for (int kx = 0; kx < kTaps; ++kx) {
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

} // namespace norvale
