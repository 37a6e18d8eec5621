#pragma once

#include "core/platform/monitor_layout.h"

namespace norvale::testing {

// Monitors as a test lays them out; change Areas to attach, remove or resize one.
class FakeMonitorLayout final : public MonitorLayout {
public:
    std::vector<RECT> WorkAreas() const override { return Areas; }

    std::vector<RECT> Areas{{0, 0, 1920, 1040}};
};

} // namespace norvale::testing
