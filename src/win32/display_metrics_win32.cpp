#include "win32/display_metrics_win32.h"

namespace norvale::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// NOTE: the per-monitor DPI calls came with Windows 10 (1607); imported directly they would
// keep the program from starting on older systems, so they are looked up when first used.
template <typename Function>
Function User32Function(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

DisplayScale WindowScale(HWND window) {
    return DisplayScale(WindowDpi(window));
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectForDpi(::RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    static const auto forDpi =
        User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

} // namespace norvale::win32
