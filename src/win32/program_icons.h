#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

// The icons of app_icon.rc, which every program showing them links. The shell owns the
// handles (shared images): they need no freeing and stay valid while the program runs.

// The notification area's 16 x 16 icon.
HICON TrayIconImage(HINSTANCE instance);
// The program's own icon in one of its sizes (16, 32 or 48 pixels; others are scaled).
HICON ProgramIconImage(HINSTANCE instance, int size);

} // namespace norvale::win32
