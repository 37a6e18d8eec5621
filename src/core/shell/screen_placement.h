#pragma once

#include "core/platform/geometry.h"

#include <vector>

namespace norvale {

// Keeps a window on a screen. A window is on screen when at least half of its area lies on
// the work areas (on one monitor or spread over several); such a place is never changed.
// Otherwise it moves into the work area nearest to its centre. Where the window lay on a work
// area of the layout before (`before`, the layout it was placed in, empty when unknown, as at
// start), it keeps its distance from the edges of that area it was nearer to, now from the
// same edges of the new one; else it moves just far enough to be wholly inside. Either way it
// ends inside the new area wherever it fits, top-left first where it is larger.
// Returns the window's new top-left corner.
POINT KeepOnScreen(const RECT& window, const std::vector<RECT>& workAreas,
                   const std::vector<RECT>& before = {});

// The top-left corner that puts a window wholly inside the work area nearest its centre,
// moving it no further than that takes (a dialog must show all of itself); one larger than
// the area shows its top-left part. Without work areas the window stays.
POINT FitOnScreen(const RECT& window, const std::vector<RECT>& workAreas);

} // namespace norvale
