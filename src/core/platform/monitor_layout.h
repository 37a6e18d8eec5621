#pragma once

#include "core/platform/placement_window.h"

#include <vector>

namespace norvale {

// The monitors attached now, as their work areas (the screen less the taskbar and docked
// bars) in virtual-screen pixels, the primary monitor first.
class MonitorLayout {
public:
    virtual ~MonitorLayout() = default;

    virtual std::vector<RECT> WorkAreas() const = 0;
};

} // namespace norvale
