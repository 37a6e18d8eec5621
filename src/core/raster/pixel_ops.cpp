#include "core/raster/pixel_ops.h"

#include "core/raster/simd.h"

#include <algorithm>
#include <cstdint>

// The per-pixel operations are called from two loops of one template; inlined into both,
// they keep the frame's blends free of a call per pixel.
#if defined(__GNUC__)
#define NORVALE_PIXEL_INLINE [[gnu::always_inline]] inline
#else
#define NORVALE_PIXEL_INLINE inline
#endif

namespace norvale {
namespace {

// The source index of the target index i of a span of n pixels stretched from m pixels:
// the source pixel under the centre of the target pixel.
int NearestIndex(int i, int n, int m) {
    return static_cast<int>((2 * static_cast<std::int64_t>(i) + 1) * m /
                            (2 * static_cast<std::int64_t>(n)));
}

// MulDiv255 of the two bytes held in bits 0-7 and 16-23 of `lanes`, at once: each product
// and its rounding fit the lane's 16 bits.
std::uint32_t MulDiv255Lanes(std::uint32_t lanes, std::uint32_t a) {
    const std::uint32_t t = lanes * a + 0x00800080;
    return (t + (t >> 8 & 0x00FF00FF)) >> 8 & 0x00FF00FF;
}

// All four channels of p times a / 255, rounded.
Pixel32 ScalePixel(Pixel32 p, std::uint32_t a) {
    return MulDiv255Lanes(p & 0x00FF00FF, a) | MulDiv255Lanes(p >> 8 & 0x00FF00FF, a) << 8;
}

// Two lanes of at most 510 each, each saturated at 255.
std::uint32_t SaturateLanes(std::uint32_t lanes) {
    const std::uint32_t over = lanes >> 8 & 0x00010001;
    return (lanes | over * 0xFF) & 0x00FF00FF;
}

NORVALE_PIXEL_INLINE Pixel32 BlendPixel(Pixel32 source, Pixel32 target,
                                        std::uint32_t constantAlpha) {
    // Shortcuts with the same result: a source of all zeros leaves the target, an opaque one
    // replaces it.
    if (source == 0) {
        return target;
    }
    if (constantAlpha == 255 && AlphaOf(source) == 255) {
        return source;
    }
    if (constantAlpha != 255) {
        source = ScalePixel(source, constantAlpha);
    }
    const std::uint32_t rest = 255 - AlphaOf(source);
    const std::uint32_t evens = (source & 0x00FF00FF) + MulDiv255Lanes(target & 0x00FF00FF, rest);
    const std::uint32_t odds =
        (source >> 8 & 0x00FF00FF) + MulDiv255Lanes(target >> 8 & 0x00FF00FF, rest);
    return SaturateLanes(evens) | SaturateLanes(odds) << 8;
}

#ifdef NORVALE_SSE2
// x * a / 255 rounded, as MulDiv255, in each of eight 16-bit lanes.
__m128i MulDiv255Epi16(__m128i x, __m128i a) {
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, a), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// BlendPixel for two pixels widened to 16 bits a channel: the same arithmetic lane by lane.
__m128i BlendTwo(__m128i source, __m128i target, __m128i constantAlpha, bool scaled) {
    if (scaled) {
        source = MulDiv255Epi16(source, constantAlpha);
    }
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(source, MulDiv255Epi16(target, rest));
}
#endif

// BlendPixel along a run of pixels; four at a time where SSE2 is there.
void BlendRun(Pixel32* target, const Pixel32* source, int count, std::uint32_t constantAlpha) {
    int i = 0;
#ifdef NORVALE_SSE2
    const __m128i zero = _mm_setzero_si128();
    const __m128i k = _mm_set1_epi16(static_cast<short>(constantAlpha));
    const bool scaled = constantAlpha != 255;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        // Transparent source pixels leave the target as it is: skip four at once.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) {
            continue;
        }
        auto* out = reinterpret_cast<__m128i*>(target + i);
        const __m128i t = _mm_loadu_si128(out);
        const __m128i low =
            BlendTwo(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(t, zero), k, scaled);
        const __m128i high =
            BlendTwo(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(t, zero), k, scaled);
        // The unsigned saturation of the packing is the blend's saturation at 255.
        _mm_storeu_si128(out, _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i) {
        target[i] = BlendPixel(source[i], target[i], constantAlpha);
    }
}

// Calls paint(sourcePixel, targetPixel) for every target pixel of targetRect inside the
// target whose nearest source pixel of sourceRect lies inside the source; an unscaled run of a
// row goes to paintRun(targetPixels, sourcePixels, count) instead.
template <typename Paint, typename PaintRun>
void ForEachMappedPixel(Bitmap32& target, const RECT& targetRect, const Bitmap32& source,
                        const RECT& sourceRect, Paint paint, PaintRun paintRun) {
    const int tw = RectWidth(targetRect);
    const int th = RectHeight(targetRect);
    const int sw = RectWidth(sourceRect);
    const int sh = RectHeight(sourceRect);
    if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const RECT visible = Intersection(targetRect, target.BoundsRect());
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = sourceRect.top + NearestIndex(y - targetRect.top, th, sh);
        if (sy < 0 || sy >= source.Height()) {
            continue;
        }
        const Pixel32* sourceRow = source.Row(sy);
        Pixel32* targetRow = target.Row(y);
        if (tw == sw) {
            // Unscaled, as every layer of a frame is: the source pixel at the same offset.
            const int shift = sourceRect.left - targetRect.left;
            const int first = std::max(visible.left, -shift);
            const int last = std::min(visible.right, source.Width() - shift);
            if (first < last) {
                paintRun(targetRow + first, sourceRow + first + shift, last - first);
            }
            continue;
        }
        // NearestIndex stepped along the row: sx = sourceRect.left + q, where q is the
        // quotient and r the remainder of (2i + 1) sw / (2 tw).
        const std::int64_t divisor = 2 * static_cast<std::int64_t>(tw);
        const std::int64_t first =
            (2 * static_cast<std::int64_t>(visible.left - targetRect.left) + 1) * sw;
        std::int64_t q = first / divisor;
        std::int64_t r = first % divisor;
        for (int x = visible.left; x < visible.right; ++x) {
            const std::int64_t sx = sourceRect.left + q;
            if (sx >= 0 && sx < source.Width()) {
                targetRow[x] = paint(sourceRow[sx], targetRow[x]);
            }
            for (r += 2 * static_cast<std::int64_t>(sw); r >= divisor; r -= divisor) {
                ++q;
            }
        }
    }
}

// ForEachMappedPixel with the unscaled runs painted pixel by pixel too.
template <typename Paint>
void ForEachMappedPixel(Bitmap32& target, const RECT& targetRect, const Bitmap32& source,
                        const RECT& sourceRect, Paint paint) {
    ForEachMappedPixel(target, targetRect, source, sourceRect, paint,
                       [paint](Pixel32* t, const Pixel32* s, int count) {
                           for (int i = 0; i < count; ++i) {
                               t[i] = paint(s[i], t[i]);
                           }
                       });
}

} // namespace

void AlphaBlend(Bitmap32& target, const RECT& targetRect, const Bitmap32& source,
                const RECT& sourceRect, BLENDFUNCTION blend) {
    const std::uint32_t k = blend.SourceConstantAlpha;
    ForEachMappedPixel(
        target, targetRect, source, sourceRect,
        [k](Pixel32 s, Pixel32 d) { return BlendPixel(s, d, k); },
        [k](Pixel32* t, const Pixel32* s, int count) { BlendRun(t, s, count, k); });
}

void AlphaBlend(Bitmap32& target, int x, int y, const Bitmap32& source, BLENDFUNCTION blend) {
    AlphaBlend(target, {x, y, x + source.Width(), y + source.Height()}, source, source.BoundsRect(),
               blend);
}

Pixel32 MergePixel(Pixel32 front, Pixel32 back) {
    const std::uint32_t fa = AlphaOf(front);
    const std::uint32_t ba = AlphaOf(back);
    if (fa == 0) {
        return back;
    }
    if (fa == 255 || ba == 0) {
        return front;
    }
    // Weights in units of 1/65025: the front's Fa, the back's Ba (1 - Fa).
    const std::uint32_t frontWeight = fa * 255;
    const std::uint32_t backWeight = ba * (255 - fa);
    const std::uint32_t total = frontWeight + backWeight;
    const auto channel = [&](int shift) {
        const std::uint32_t sum =
            (front >> shift & 0xFF) * frontWeight + (back >> shift & 0xFF) * backWeight;
        return (2 * sum + total) / (2 * total) << shift;
    };
    const std::uint32_t alpha = (2 * total + 255) / 510;
    return channel(0) | channel(8) | channel(16) | alpha << 24;
}

void MergeDraw(Bitmap32& target, int x, int y, const Bitmap32& source, const RECT& sourceRect) {
    const RECT targetRect{x, y, x + RectWidth(sourceRect), y + RectHeight(sourceRect)};
    ForEachMappedPixel(target, targetRect, source, sourceRect, MergePixel);
}

void StretchNearest(Bitmap32& target, const RECT& targetRect, const Bitmap32& source) {
    ForEachMappedPixel(target, targetRect, source, source.BoundsRect(),
                       [](Pixel32 s, Pixel32) { return s; });
}

} // namespace norvale
