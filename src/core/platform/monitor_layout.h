#pragma once

#include "core/platform/geometry.h"

#include <optional>
#include <vector>

namespace norvale {

// The monitors attached now, in virtual-screen pixels, the primary monitor first, and what
// covers them.
class MonitorLayout {
public:
    virtual ~MonitorLayout() = default;

    // Each monitor's work area: its screen less the taskbar and docked bars.
    virtual std::vector<RECT> WorkAreas() const = 0;
    // Each monitor's whole screen, in the order of WorkAreas.
    virtual std::vector<RECT> ScreenAreas() const = 0;
    // The bounds of the foreground window when it belongs to another program and is neither
    // the desktop nor the taskbar; none otherwise.
    virtual std::optional<RECT> ForegroundProgramBounds() const = 0;
    // Whether the system says a presentation or a program that owns the display runs now.
    virtual bool PresentationRunning() const = 0;
};

} // namespace norvale
