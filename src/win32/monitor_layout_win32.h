#pragma once

#include "core/platform/monitor_layout.h"

namespace norvale::win32 {

// The monitors as the system enumerates them, each by its work area.
class Win32MonitorLayout final : public MonitorLayout {
public:
    std::vector<RECT> WorkAreas() const override;
};

} // namespace norvale::win32
