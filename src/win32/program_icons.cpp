#include "win32/program_icons.h"

#include "win32/resources/icon_ids.h"

namespace norvale::win32 {
namespace {

HICON SharedIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

HICON TrayIconImage(HINSTANCE instance) {
    return SharedIcon(instance, NORVALE_TRAY_ICON, 16);
}

HICON ProgramIconImage(HINSTANCE instance, int size) {
    return SharedIcon(instance, NORVALE_APP_ICON, size);
}

} // namespace norvale::win32
