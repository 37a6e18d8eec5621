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
    const auto steps = static_cast<std::int64_t>(std::floor(t * kPhases + 0.5));
    phase = static_cast<int>(steps & (kPhases - 1));
    first = static_cast<int>((steps - phase) / kPhases) - (kRadius - 1);
}

} // namespace

Pixel32 SampleLanczos3(const Bitmap32& bitmap, double u, double v) {
    int x0;
    int xPhase;
    int y0;
    int yPhase;
    Locate(u, x0, xPhase);
    Locate(v, y0, yPhase);
    const auto& wx = Weights()[xPhase];
    const auto& wy = Weights()[yPhase];
    const int kx0 = std::max(0, -x0);
    const int kx1 = std::min(kTaps, bitmap.Width() - x0);
    const int ky0 = std::max(0, -y0);
    const int ky1 = std::min(kTaps, bitmap.Height() - y0);

    float sum[4] = {0, 0, 0, 0};
#ifdef NORVALE_SSE2
    // The four channels of a pixel side by side in one register.
    const __m128i zero = _mm_setzero_si128();
    __m128 total = _mm_setzero_ps();
    for (int ky = ky0; ky < ky1; ++ky) {
        const Pixel32* row = bitmap.Row(y0 + ky) + x0;
        __m128 rowSum = _mm_setzero_ps();
        for (int kx = kx0; kx < kx1; ++kx) {
            __m128i p = _mm_cvtsi32_si128(static_cast<int>(row[kx]));
            p = _mm_unpacklo_epi16(_mm_unpacklo_epi8(p, zero), zero);
            rowSum = _mm_add_ps(rowSum, _mm_mul_ps(_mm_cvtepi32_ps(p), _mm_set1_ps(wx[kx])));
        }
        total = _mm_add_ps(total, _mm_mul_ps(rowSum, _mm_set1_ps(wy[ky])));
    }
    _mm_storeu_ps(sum, total);
#else
    for (int ky = ky0; ky < ky1; ++ky) {
        const Pixel32* row = bitmap.Row(y0 + ky) + x0;
        float rowSum[4] = {0, 0, 0, 0};
        for (int kx = kx0; kx < kx1; ++kx) {
            for (int c = 0; c < 4; ++c) {
                rowSum[c] += static_cast<float>(row[kx] >> (8 * c) & 0xFF) * wx[kx];
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
    return MakePixel(channel(0, static_cast<float>(alpha)), channel(1, static_cast<float>(alpha)),
                     channel(2, static_cast<float>(alpha)), alpha);
}

} // namespace norvale
