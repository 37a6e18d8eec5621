#include "core/shell/screen_placement.h"

#include <algorithm>
#include <cstdint>

namespace norvale {
namespace {

// The part of the window's area that lies on any of the areas, overlapping areas counted
// once (monitors that mirror each other share their coordinates).
std::int64_t CoveredArea(const RECT& window, const std::vector<RECT>& areas) {
    std::vector<RECT> parts;
    std::vector<int> xs;
    std::vector<int> ys;
    for (const RECT& area : areas) {
        const RECT part = Intersection(window, area);
        if (RectArea(part) > 0) {
            parts.push_back(part);
            xs.insert(xs.end(), {part.left, part.right});
            ys.insert(ys.end(), {part.top, part.bottom});
        }
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    std::int64_t covered = 0;
    // The grid of all the parts' edges: each cell lies wholly inside a part or wholly outside.
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            const RECT cell{xs[i], ys[j], xs[i + 1], ys[j + 1]};
            const bool inside = std::any_of(parts.begin(), parts.end(),
                                            [&](const RECT& p) { return Covers(p, cell); });
            covered += inside ? RectArea(cell) : 0;
        }
    }
    return covered;
}

std::int64_t DistanceSquared(POINT p, const RECT& r) {
    const std::int64_t dx = std::max({r.left - p.x, p.x - (r.right - 1), 0});
    const std::int64_t dy = std::max({r.top - p.y, p.y - (r.bottom - 1), 0});
    return dx * dx + dy * dy;
}

// The area holding the largest part of the window, if any holds a part of it.
const RECT* AreaHolding(const RECT& window, const std::vector<RECT>& areas) {
    const RECT* holding = nullptr;
    std::int64_t most = 0;
    for (const RECT& area : areas) {
        const std::int64_t part = RectArea(Intersection(window, area));
        if (part > most) {
            most = part;
            holding = &area;
        }
    }
    return holding;
}

// A start along one axis that keeps the span's distance from the old area's nearer edge,
// from the same edge of the new area.
int KeepOffset(int start, int size, int oldLow, int oldHigh, int newLow, int newHigh) {
    const bool nearerLow = 2 * (start - oldLow) + size <= 2 * (oldHigh - start) - size;
    return nearerLow ? newLow + (start - oldLow) : newHigh - (oldHigh - (start + size)) - size;
}

// Inside [low, high) where the span fits, else starting at low.
int Fit(int start, int size, int low, int high) {
    return std::max(low, std::min(start, high - size));
}

// The work area nearest the window's centre, the first of equally near ones; areas is not
// empty.
const RECT& NearestArea(const RECT& window, const std::vector<RECT>& areas) {
    const POINT centre = CentreOf(window);
    const RECT* nearest = &areas.front();
    for (const RECT& area : areas) {
        if (DistanceSquared(centre, area) < DistanceSquared(centre, *nearest)) {
            nearest = &area;
        }
    }
    return *nearest;
}

POINT FitInto(POINT start, const RECT& window, const RECT& area) {
    return {Fit(start.x, RectWidth(window), area.left, area.right),
            Fit(start.y, RectHeight(window), area.top, area.bottom)};
}

} // namespace

POINT KeepOnScreen(const RECT& window, const std::vector<RECT>& workAreas,
                   const std::vector<RECT>& before) {
    const POINT unchanged{window.left, window.top};
    if (workAreas.empty() || 2 * CoveredArea(window, workAreas) >= RectArea(window)) {
        return unchanged;
    }
    const RECT& target = NearestArea(window, workAreas);
    POINT moved = unchanged;
    if (const RECT* old = AreaHolding(window, before)) {
        moved.x = KeepOffset(window.left, RectWidth(window), old->left, old->right, target.left,
                             target.right);
        moved.y = KeepOffset(window.top, RectHeight(window), old->top, old->bottom, target.top,
                             target.bottom);
    }
    return FitInto(moved, window, target);
}

POINT FitOnScreen(const RECT& window, const std::vector<RECT>& workAreas) {
    const POINT unchanged{window.left, window.top};
    return workAreas.empty() ? unchanged
                             : FitInto(unchanged, window, NearestArea(window, workAreas));
}

} // namespace norvale
