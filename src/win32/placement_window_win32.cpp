#include "win32/placement_window_win32.h"

#include <cstring>

namespace norvale::win32 {

static_assert(sizeof(::WINDOWPLACEMENT) == sizeof(norvale::WINDOWPLACEMENT));

Win32PlacementWindow::Win32PlacementWindow(HWND window, bool mainWindow, bool centredWhenShown)
    : FWindow(window), FMainWindow(mainWindow), FCentredWhenShown(centredWhenShown) {}

norvale::WINDOWPLACEMENT Win32PlacementWindow::GetPlacement() const {
    ::WINDOWPLACEMENT native{};
    native.length = sizeof native;
    GetWindowPlacement(FWindow, &native);
    norvale::WINDOWPLACEMENT twin;
    // The twin has the same fields in the same layout.
    std::memcpy(static_cast<void*>(&twin), &native, sizeof twin);
    return twin;
}

void Win32PlacementWindow::SetPlacement(const norvale::WINDOWPLACEMENT& placement) {
    ::WINDOWPLACEMENT native;
    std::memcpy(&native, &placement, sizeof native);
    native.length = sizeof native;
    SetWindowPlacement(FWindow, &native);
}

norvale::RECT Win32PlacementWindow::Bounds() const {
    ::RECT r{};
    GetWindowRect(FWindow, &r);
    return {r.left, r.top, r.right, r.bottom};
}

bool Win32PlacementWindow::IsVisible() const {
    return IsWindowVisible(FWindow) != FALSE;
}

bool Win32PlacementWindow::IsSizeable() const {
    return (GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_THICKFRAME) != 0;
}

ScreenSize Win32PlacementWindow::PrimaryScreenSize() const {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32PlacementWindow::PixelsPerInch() const {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch;
}

bool Win32PlacementWindow::IsAppIconic() const {
    return IsIconic(GetAncestor(FWindow, GA_ROOTOWNER)) != FALSE;
}

} // namespace norvale::win32
