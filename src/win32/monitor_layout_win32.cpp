#include "win32/monitor_layout_win32.h"

#include "win32/win32_common.h"

#include <algorithm>
#include <array>
#include <shellapi.h>

namespace norvale::win32 {
namespace {

struct Found {
    bool Work = true; // the work areas, else the whole screens
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
        const ::RECT& r = found.Work ? info.rcWork : info.rcMonitor;
        found.Areas.push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

// The monitors' areas, the primary monitor's first.
std::vector<RECT> MonitorAreas(bool work) {
    Found found;
    found.Work = work;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&found));
    if (!found.Areas.empty()) {
        std::rotate(found.Areas.begin(),
                    found.Areas.begin() + static_cast<std::ptrdiff_t>(found.Primary),
                    found.Areas.begin() + static_cast<std::ptrdiff_t>(found.Primary) + 1);
    }
    return found.Areas;
}

// The desktop and the taskbar span a screen too, but are no program in front of it.
bool IsShellWindow(HWND window) {
    if (window == GetShellWindow() || window == GetDesktopWindow()) {
        return true;
    }
    constexpr std::array<const wchar_t*, 4> kShellClasses{L"Progman", L"WorkerW", L"Shell_TrayWnd",
                                                          L"Shell_SecondaryTrayWnd"};
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return std::any_of(kShellClasses.begin(), kShellClasses.end(),
                       [&](const wchar_t* shell) { return lstrcmpW(name, shell) == 0; });
}

} // namespace

std::vector<RECT> Win32MonitorLayout::WorkAreas() const {
    return MonitorAreas(true);
}

std::vector<RECT> Win32MonitorLayout::ScreenAreas() const {
    return MonitorAreas(false);
}

std::optional<RECT> Win32MonitorLayout::ForegroundProgramBounds() const {
    const HWND window = GetForegroundWindow();
    if (!window || !IsWindowVisible(window) || IsIconic(window) || IsShellWindow(window)) {
        return std::nullopt;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    ::RECT r{};
    if (process == GetCurrentProcessId() || !GetWindowRect(window, &r)) {
        return std::nullopt;
    }
    return RECT{r.left, r.top, r.right, r.bottom};
}

bool Win32MonitorLayout::PresentationRunning() const {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state))) {
        return false;
    }
    return state == QUNS_PRESENTATION_MODE || state == QUNS_RUNNING_D3D_FULL_SCREEN;
}

} // namespace norvale::win32
