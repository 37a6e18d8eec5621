#pragma once

#include "core/platform/monitor_layout.h"

namespace norvale::win32 {

// The monitors as the system enumerates them, and the program in front of them.
class Win32MonitorLayout final : public MonitorLayout {
public:
    std::vector<RECT> WorkAreas() const override;
    std::vector<RECT> ScreenAreas() const override;
    std::optional<RECT> ForegroundProgramBounds() const override;
    bool PresentationRunning() const override;
};

} // namespace norvale::win32
