#include "win32/monitor_layout_win32.h"

#include "win32/win32_common.h"

#include <algorithm>

namespace norvale::win32 {
namespace {

struct Found {
    std::vector<RECT> Areas;
    std::size_t Primary = 0;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& found = *reinterpret_cast<Found*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
            found.Primary = found.Areas.size();
        }
        const ::RECT& r = info.rcWork;
        found.Areas.push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

} // namespace

std::vector<RECT> Win32MonitorLayout::WorkAreas() const {
    Found found;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&found));
    if (!found.Areas.empty()) {
        std::rotate(found.Areas.begin(),
                    found.Areas.begin() + static_cast<std::ptrdiff_t>(found.Primary),
                    found.Areas.begin() + static_cast<std::ptrdiff_t>(found.Primary) + 1);
    }
    return found.Areas;
}

} // namespace norvale::win32
