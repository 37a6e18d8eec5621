#include "core/raster/display_scale.h"

#include <algorithm>
#include <cstdint>

namespace norvale {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

DisplayScale::DisplayScale(int dpi) : FDpi(std::clamp(dpi, kMinDpi, kMaxDpi)) {}

int DisplayScale::ToPhysical(int skinEdge) const {
    // ceil((2 Dpi x - 96) / 192): twice s x - 1/2, over twice the skin's dots per inch.
    const std::int64_t twice = 2 * std::int64_t{FDpi} * skinEdge - kSkinDpi;
    return static_cast<int>(-FloorDiv(-twice, std::int64_t{2} * kSkinDpi));
}

int DisplayScale::ToSkin(int physicalPixel) const {
    return static_cast<int>(
        FloorDiv((2 * std::int64_t{physicalPixel} + 1) * kSkinDpi, 2 * std::int64_t{FDpi}));
}

RECT DisplayScale::ToPhysical(const RECT& r) const {
    return {ToPhysical(r.left), ToPhysical(r.top), ToPhysical(r.right), ToPhysical(r.bottom)};
}

double DisplayScale::PointToPhysical(double skinPoint) const {
    // At 100 % the factor is exactly 1, so the point comes back unchanged to the last bit.
    const double s = Factor();
    return skinPoint * s + (s - 1) / 2;
}

} // namespace norvale
