#pragma once

#include "core/platform/monitor_layout.h"

namespace norvale::testing {

// Monitors as a test lays them out; change Areas to attach, remove or resize one. The
// screens are the work areas with a 40-pixel taskbar below, unless Screens says otherwise.
class FakeMonitorLayout final : public MonitorLayout {
public:
    std::vector<RECT> WorkAreas() const override { return Areas; }
    std::vector<RECT> ScreenAreas() const override {
        if (!Screens.empty()) {
            return Screens;
        }
        std::vector<RECT> screens = Areas;
        for (RECT& screen : screens) {
            screen.bottom += 40;
        }
        return screens;
    }
    std::optional<RECT> ForegroundProgramBounds() const override { return Foreground; }
    bool PresentationRunning() const override { return Presentation; }

    std::vector<RECT> Areas{{0, 0, 1920, 1040}};
    std::vector<RECT> Screens;
    std::optional<RECT> Foreground;
    bool Presentation = false;
};

} // namespace norvale::testing
