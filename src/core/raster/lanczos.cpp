#include "core/raster/lanczos.h"

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
constexpr int kWeightBits = 14;

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

// Weights of taps i - 2 .. i + 3 for a sample point i + phase / 256, in fixed point with
// kWeightBits fraction bits, each row summing exactly to one.
using WeightTable = std::array<std::array<std::int32_t, kTaps>, kPhases>;

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
        std::int32_t total = 0;
        int largest = 0;
        for (int k = 0; k < kTaps; ++k) {
            table[phase][k] =
                static_cast<std::int32_t>(std::lround(raw[k] / sum * (1 << kWeightBits)));
            total += table[phase][k];
            largest = table[phase][k] > table[phase][largest] ? k : largest;
        }
        // Rounding leftovers go to the heaviest tap, so a flat area stays exactly flat.
        table[phase][largest] += (1 << kWeightBits) - total;
    }
    return table;
}

const WeightTable& Weights() {
    static const WeightTable table = MakeWeights();
    return table;
}

// Splits a coordinate into the index of the first tap and the phase of the sample point.
void Locate(double t, int& first, int& phase) {
    const double base = std::floor(t);
    phase = static_cast<int>(std::lround((t - base) * kPhases));
    first = static_cast<int>(base) - (kRadius - 1);
    if (phase == kPhases) {
        phase = 0;
        ++first;
    }
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

    std::int64_t sum[4] = {0, 0, 0, 0};
    for (int ky = ky0; ky < ky1; ++ky) {
        const Pixel32* row = bitmap.Row(y0 + ky) + x0;
        std::int32_t rowSum[4] = {0, 0, 0, 0};
        for (int kx = kx0; kx < kx1; ++kx) {
            const Pixel32 p = row[kx];
            const std::int32_t w = wx[kx];
            rowSum[0] += static_cast<std::int32_t>(BlueOf(p)) * w;
            rowSum[1] += static_cast<std::int32_t>(GreenOf(p)) * w;
            rowSum[2] += static_cast<std::int32_t>(RedOf(p)) * w;
            rowSum[3] += static_cast<std::int32_t>(AlphaOf(p)) * w;
        }
        for (int c = 0; c < 4; ++c) {
            sum[c] += static_cast<std::int64_t>(rowSum[c]) * wy[ky];
        }
    }
    constexpr int kShift = 2 * kWeightBits;
    constexpr std::int64_t kHalf = std::int64_t{1} << (kShift - 1);
    const auto channel = [&](int c, std::int64_t limit) {
        return static_cast<std::uint32_t>(
            std::clamp<std::int64_t>((sum[c] + kHalf) >> kShift, 0, limit));
    };
    const std::uint32_t alpha = channel(3, 255);
    return MakePixel(channel(0, alpha), channel(1, alpha), channel(2, alpha), alpha);
}

} // namespace norvale
