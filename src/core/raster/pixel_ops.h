#pragma once

#include "core/platform/bitmap32.h"

#include <cstdint>

namespace norvale {

// Portable twin of the Windows BLENDFUNCTION, field for field.
struct BLENDFUNCTION {
    std::uint8_t BlendOp = 0;
    std::uint8_t BlendFlags = 0;
    std::uint8_t SourceConstantAlpha = 255;
    std::uint8_t AlphaFormat = 1;
};
static_assert(sizeof(BLENDFUNCTION) == 4);

inline constexpr std::uint8_t kAcSrcOver = 0;
inline constexpr std::uint8_t kAcSrcAlpha = 1;

// The premultiplied blend (source over, per-pixel alpha, constant alpha k): every source
// pixel is first scaled by k / 255 in all four channels, then each destination channel
// becomes S' + D * (255 - S'.alpha) / 255. Both products are rounded to the nearest integer
// and the sum saturates at 255. When the rectangles differ in size the source rectangle is
// stretched onto the destination rectangle (nearest pixel). Parts outside either bitmap are
// left out.
void AlphaBlend(Bitmap32& target, const RECT& targetRect, const Bitmap32& source,
                const RECT& sourceRect, BLENDFUNCTION blend);

// The whole source at (x, y), unscaled.
void AlphaBlend(Bitmap32& target, int x, int y, const Bitmap32& source, BLENDFUNCTION blend);

// Lays F over B as straight (not premultiplied) colour: F.alpha 0 keeps B; F.alpha 255 or
// B.alpha 0 takes F; otherwise alpha = Fa + Ba (1 - Fa) and each colour channel is
// (Fc Fa + Bc Ba (1 - Fa)) / alpha, both rounded to the nearest integer.
Pixel32 MergePixel(Pixel32 front, Pixel32 back);

// Merges the source rectangle onto the target with its top-left corner at (x, y).
void MergeDraw(Bitmap32& target, int x, int y, const Bitmap32& source, const RECT& sourceRect);

// Scales the whole source into the target rectangle, each target pixel a plain copy of the
// nearest source pixel (all four channels, no blending).
void StretchNearest(Bitmap32& target, const RECT& targetRect, const Bitmap32& source);

} // namespace norvale
