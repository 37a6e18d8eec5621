#pragma once

#include "core/raster/display_scale.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// The window's dots per inch: those of its monitor under per-monitor awareness, the system's
// where Windows is older than 10 (1607).
int WindowDpi(HWND window);
// The window's display scale: pixel geometry designed at 100 % is mapped with it.
DisplayScale WindowScale(HWND window);

// A system metric (SM_CXSMICON ...) as it is at the DPI.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window at the DPI: the frame of a caption and borders drawn at it.
void AdjustWindowRectForDpi(::RECT& rect, DWORD style, DWORD exStyle, int dpi);

} // namespace norvale::win32
