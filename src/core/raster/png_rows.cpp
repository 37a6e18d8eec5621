#include "core/raster/png_rows.h"

#include "core/raster/simd.h"

#include <cstdlib>
#include <cstring>

namespace norvale::png {
namespace {

// The predictor of the Paeth filter: whichever of left, above and upper-left is closest to
// left + above - upper-left, ties in that order.
inline std::uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) {
        return static_cast<std::uint8_t>(a);
    }
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// The filters with the left-neighbour distance known at compile time, so that the bytes of
// one pixel are worked on side by side.
template <std::size_t Bpp>
void UnfilterSub(std::uint8_t* row, std::size_t n) {
    for (std::size_t i = Bpp; i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + row[i - Bpp]);
    }
}

template <std::size_t Bpp>
void UnfilterAverage(std::uint8_t* row, const std::uint8_t* previous, std::size_t n) {
    for (std::size_t i = 0; i < Bpp && i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + (previous[i] >> 1));
    }
    for (std::size_t i = Bpp; i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - Bpp] + previous[i]) >> 1));
    }
}

#ifdef NORVALE_SSE2
// Paeth for four-byte pixels, one pixel's bytes at a time in 16-bit lanes.
void UnfilterPaeth4(std::uint8_t* row, const std::uint8_t* previous, std::size_t n) {
    const __m128i zero = _mm_setzero_si128();
    const auto load = [&](const std::uint8_t* p) {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), zero);
    };
    const auto abs16 = [&](__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(zero, x)); };
    const auto select = [](__m128i mask, __m128i yes, __m128i no) {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    };
    __m128i a = zero;
    __m128i c = zero;
    for (std::size_t i = 0; i + 4 <= n; i += 4) {
        const __m128i b = load(previous + i);
        const __m128i p = _mm_sub_epi16(b, c);
        const __m128i q = _mm_sub_epi16(a, c);
        const __m128i pa = abs16(p);
        const __m128i pb = abs16(q);
        const __m128i pc = abs16(_mm_add_epi16(p, q));
        __m128i predictor = select(_mm_cmpgt_epi16(pb, pc), c, b);
        predictor = select(_mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc)), predictor, a);
        a = _mm_and_si128(_mm_add_epi16(load(row + i), predictor), _mm_set1_epi16(0xFF));
        const std::int32_t v = _mm_cvtsi128_si32(_mm_packus_epi16(a, a));
        std::memcpy(row + i, &v, 4);
        c = b;
    }
}
#endif

template <std::size_t Bpp>
void UnfilterPaeth(std::uint8_t* row, const std::uint8_t* previous, std::size_t n) {
#ifdef NORVALE_SSE2
    if constexpr (Bpp == 4) {
        UnfilterPaeth4(row, previous, n);
        return;
    }
#endif
    for (std::size_t i = 0; i < Bpp && i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
    }
    for (std::size_t i = Bpp; i < n; ++i) {
        row[i] =
            static_cast<std::uint8_t>(row[i] + Paeth(row[i - Bpp], previous[i], previous[i - Bpp]));
    }
}

template <std::size_t Bpp>
bool UnfilterWith(std::uint8_t type, std::uint8_t* row, const std::uint8_t* previous,
                  std::size_t n) {
    switch (type) {
    case 0:
        return true;
    case 1:
        UnfilterSub<Bpp>(row, n);
        return true;
    case 2:
        for (std::size_t i = 0; previous && i < n; ++i) {
            row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
        }
        return true;
    case 3:
        if (previous) {
            UnfilterAverage<Bpp>(row, previous, n);
        } else {
            for (std::size_t i = Bpp; i < n; ++i) {
                row[i] = static_cast<std::uint8_t>(row[i] + (row[i - Bpp] >> 1));
            }
        }
        return true;
    case 4:
        // With no row above, Paeth always predicts the left neighbour.
        if (previous) {
            UnfilterPaeth<Bpp>(row, previous, n);
        } else {
            UnfilterSub<Bpp>(row, n);
        }
        return true;
    default:
        return false;
    }
}

// A 16-bit sample scaled to 8 bits, rounded to the nearest (v * 255 / 65535).
inline std::uint8_t Scale16(std::uint32_t v) {
    return static_cast<std::uint8_t>((v * 255 + 32767) / 65535);
}

inline std::uint16_t Read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Sample i of a row packed at 1, 2 or 4 bits, leftmost pixel in the high bits.
inline std::uint32_t PackedSample(const std::uint8_t* row, std::size_t i, int depth) {
    const std::size_t bit = i * static_cast<std::size_t>(depth);
    const int shift = 8 - depth - static_cast<int>(bit & 7);
    return static_cast<std::uint32_t>(row[bit >> 3] >> shift) & ((1u << depth) - 1);
}

inline void Put(std::uint8_t* out, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    out[0] = r;
    out[1] = g;
    out[2] = b;
    out[3] = a;
}

void ExpandGrey(const SampleFormat& f, const std::uint8_t* row, std::uint32_t count,
                std::uint8_t* out, std::size_t step) {
    const int depth = f.BitDepth;
    const std::uint32_t key = f.HasTransparentColour ? f.TransparentColour[0] : 0x10000;
    for (std::size_t i = 0; i < count; ++i, out += step) {
        std::uint32_t v;
        std::uint8_t grey;
        if (depth == 16) {
            v = Read16(row + 2 * i);
            grey = Scale16(v);
        } else if (depth == 8) {
            v = row[i];
            grey = static_cast<std::uint8_t>(v);
        } else {
            v = PackedSample(row, i, depth);
            grey = static_cast<std::uint8_t>(v * (255 / ((1u << depth) - 1)));
        }
        Put(out, grey, grey, grey, v == key ? 0 : 255);
    }
}

void ExpandRgb(const SampleFormat& f, const std::uint8_t* row, std::uint32_t count,
               std::uint8_t* out, std::size_t step) {
    const auto& key = f.TransparentColour;
    const bool keyed = f.HasTransparentColour;
    for (std::size_t i = 0; i < count; ++i, out += step) {
        if (f.BitDepth == 16) {
            const std::uint8_t* p = row + 6 * i;
            const std::uint16_t r = Read16(p);
            const std::uint16_t g = Read16(p + 2);
            const std::uint16_t b = Read16(p + 4);
            const bool clear = keyed && r == key[0] && g == key[1] && b == key[2];
            Put(out, Scale16(r), Scale16(g), Scale16(b), clear ? 0 : 255);
        } else {
            const std::uint8_t* p = row + 3 * i;
            const bool clear = keyed && p[0] == key[0] && p[1] == key[1] && p[2] == key[2];
            Put(out, p[0], p[1], p[2], clear ? 0 : 255);
        }
    }
}

void ExpandPalette(const SampleFormat& f, const std::uint8_t* row, std::uint32_t count,
                   std::uint8_t* out, std::size_t step) {
    for (std::size_t i = 0; i < count; ++i, out += step) {
        const std::uint32_t index = f.BitDepth == 8 ? row[i] : PackedSample(row, i, f.BitDepth);
        std::memcpy(out, f.Palette[index].data(), 4);
    }
}

void ExpandGreyAlpha(const SampleFormat& f, const std::uint8_t* row, std::uint32_t count,
                     std::uint8_t* out, std::size_t step) {
    for (std::size_t i = 0; i < count; ++i, out += step) {
        if (f.BitDepth == 16) {
            const std::uint8_t grey = Scale16(Read16(row + 4 * i));
            Put(out, grey, grey, grey, Scale16(Read16(row + 4 * i + 2)));
        } else {
            Put(out, row[2 * i], row[2 * i], row[2 * i], row[2 * i + 1]);
        }
    }
}

void ExpandRgba(const SampleFormat& f, const std::uint8_t* row, std::uint32_t count,
                std::uint8_t* out, std::size_t step) {
    if (f.BitDepth == 8 && step == 4) {
        std::memcpy(out, row, static_cast<std::size_t>(count) * 4);
        return;
    }
    for (std::size_t i = 0; i < count; ++i, out += step) {
        if (f.BitDepth == 16) {
            const std::uint8_t* p = row + 8 * i;
            Put(out, Scale16(Read16(p)), Scale16(Read16(p + 2)), Scale16(Read16(p + 4)),
                Scale16(Read16(p + 6)));
        } else {
            std::memcpy(out, row + 4 * i, 4);
        }
    }
}

} // namespace

int ChannelsOf(int colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

std::size_t RowBytes(std::uint32_t width, int channels, int bitDepth) {
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * channels * bitDepth;
    return static_cast<std::size_t>((bits + 7) / 8);
}

bool Unfilter(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* previous,
              std::size_t rowBytes, std::size_t pixelBytes) {
    switch (pixelBytes) {
    case 1:
        return UnfilterWith<1>(filterType, row, previous, rowBytes);
    case 2:
        return UnfilterWith<2>(filterType, row, previous, rowBytes);
    case 3:
        return UnfilterWith<3>(filterType, row, previous, rowBytes);
    case 4:
        return UnfilterWith<4>(filterType, row, previous, rowBytes);
    case 6:
        return UnfilterWith<6>(filterType, row, previous, rowBytes);
    default:
        return UnfilterWith<8>(filterType, row, previous, rowBytes);
    }
}

void ExpandRow(const SampleFormat& format, const std::uint8_t* row, std::uint32_t count,
               std::uint8_t* out, std::size_t step) {
    switch (format.ColourType) {
    case 0:
        ExpandGrey(format, row, count, out, step);
        break;
    case 2:
        ExpandRgb(format, row, count, out, step);
        break;
    case 3:
        ExpandPalette(format, row, count, out, step);
        break;
    case 4:
        ExpandGreyAlpha(format, row, count, out, step);
        break;
    default:
        ExpandRgba(format, row, count, out, step);
        break;
    }
}

} // namespace norvale::png
