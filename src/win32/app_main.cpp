#include "win32/error_report_win32.h"
#include "win32/main_window.h"
#include "win32/registry_time_zones.h"

#include <exception>

// Start-up order: the zone list and the user's locale before any window; then the clock
// window with its tray icon and tool tips, its creation, the hidden Alarms form and the
// message loop.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace norvale::win32;
    try {
        SetThreadLocale(LOCALE_USER_DEFAULT);
        RegistryTimeZones();
        MainWindow window(instance);
        window.Start();
        return RunMessageLoop();
    } catch (const std::exception& e) {
        ShowErrorReport(nullptr, e.what());
        return 1;
    }
}
