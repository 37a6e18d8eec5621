#pragma once

#include <algorithm>
#include <cstdint>

// Portable twins of the Windows geometry structures (same field names, order and layout),
// and the one set of rectangle helpers every room uses. A rectangle holds its left and top
// edges and stops before its right and bottom ones, as a Windows rectangle does; screen,
// window and bitmap rectangles alike.

namespace norvale {

struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct SIZE {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

constexpr int RectWidth(const RECT& r) {
    return r.right - r.left;
}

constexpr int RectHeight(const RECT& r) {
    return r.bottom - r.top;
}

// The pixels inside; an empty or inverted rectangle has none.
constexpr std::int64_t RectArea(const RECT& r) {
    return std::int64_t{std::max(0, RectWidth(r))} * std::max(0, RectHeight(r));
}

// The part of `a` that lies in `b`; empty (or inverted) when they do not meet.
constexpr RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Whether `inner` lies wholly inside `outer`.
constexpr bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The box of a size with its top-left corner at `topLeft`.
constexpr RECT RectAt(POINT topLeft, int width, int height) {
    return {topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height};
}

// The centre, half a pixel towards the top-left where the size is odd, on every side of the
// origin alike.
constexpr POINT CentreOf(const RECT& r) {
    return {r.left + RectWidth(r) / 2, r.top + RectHeight(r) / 2};
}

// The top-left corner of a box of a size whose CentreOf is `centre`.
constexpr POINT TopLeftAround(POINT centre, int width, int height) {
    return {centre.x - width / 2, centre.y - height / 2};
}

} // namespace norvale
