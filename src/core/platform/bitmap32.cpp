#include "core/platform/bitmap32.h"

#include <algorithm>

namespace norvale {

Bitmap32::Bitmap32(int width, int height, Pixel32 fill) {
    SetSize(width, height);
    Clear(fill);
}

void Bitmap32::SetSize(int width, int height) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FBits.assign(static_cast<std::size_t>(FWidth) * FHeight, 0);
}

void Bitmap32::Clear(Pixel32 value) {
    std::fill(FBits.begin(), FBits.end(), value);
}

} // namespace norvale
