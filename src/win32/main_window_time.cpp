#include "win32/locale_format_settings.h"
#include "win32/main_window.h"

namespace norvale::win32 {

bool MainWindow::HandleTimeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_POWERBROADCAST:
        if (wParam != PBT_APMRESUMEAUTOMATIC && wParam != PBT_APMRESUMESUSPEND) {
            return false;
        }
        break;
    case WM_TIMECHANGE:
        break;
    case WM_SETTINGCHANGE: {
        const auto* section = reinterpret_cast<const wchar_t*>(lParam);
        if (section && lstrcmpiW(section, L"intl") == 0) {
            FForm->FormatSettingsChanged(ReadUserFormatSettings());
            return true;
        }
        // Any other change may be of the zone or of its daylight-saving rules.
        break;
    }
    default:
        return false;
    }
    FForm->TimeChanged();
    // An alarm whose moment passed may have started a fade.
    SyncFadeTimer();
    return true;
}

} // namespace norvale::win32
