#pragma once

#include "win32/win32_common.h"

#include <memory>
#include <type_traits>

namespace norvale::win32 {

// The icons of app_icon.rc, which every program showing them links.

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The notification area's icon at the size the system wants for the DPI (16 pixels at 96,
// 32 at 192); the tray.ico image of that size, scaled from the nearest where it has none.
OwnedIcon TrayIconImage(HINSTANCE instance, int dpi);

// The program's own icon and the Alarms window's are shared images: the shell owns the
// handles, which need no freeing and stay valid while the program runs.
// The program's own icon in one of its sizes (16, 32 or 48 pixels; others are scaled).
HICON ProgramIconImage(HINSTANCE instance, int size);

} // namespace norvale::win32
