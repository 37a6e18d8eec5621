#include "win32/program_icons.h"

#include "win32/display_metrics_win32.h"
#include "win32/resources/icon_ids.h"

namespace norvale::win32 {
namespace {

HICON SharedIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

OwnedIcon TrayIconImage(HINSTANCE instance, int dpi) {
    const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    return OwnedIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(NORVALE_TRAY_ICON), IMAGE_ICON, size, size, 0)));
}

HICON ProgramIconImage(HINSTANCE instance, int size) {
    return SharedIcon(instance, NORVALE_APP_ICON, size);
}

} // namespace norvale::win32
