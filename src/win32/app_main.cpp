#include "core/shell/command_line.h"
#include "win32/error_report_win32.h"
#include "win32/main_window.h"
#include "win32/registry_time_zones.h"
#include "win32/resource_log_win32.h"
#include "win32/single_instance_win32.h"
#include "win32/sync_job_win32.h"
#include "win32/wide_text.h"

#include <exception>
#include <memory>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    if (!arguments) {
        return result;
    }
    for (int i = 1; i < count; ++i) {
        result.push_back(norvale::win32::ToUtf8(arguments[i]));
    }
    LocalFree(arguments);
    return result;
}

constexpr UINT kResourceLogIntervalMs = 10'000;

} // namespace

// Start-up order: DLLs from the system folder only; the elevated job of "--sync-time" runs
// alone and ends; a start while a clock of this session runs brings that one forward and ends
// (or, when that clock is ending, waits and takes its place); otherwise the zone list and the
// user's locale before any window; then the clock window with its tray icon and tool tips, its
// creation, the hidden Alarms form, the resource log when the command line asks for one, and
// the message loop.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace norvale::win32;
    // Before anything else: DLLs come from the system folder only, never from the program's
    // own, where anyone who can write there (a downloads folder, a per-user install) could put
    // one that would run inside the clock, or inside the elevated sync job. The DLLs that are
    // not KnownDLLs are delay-loaded (src/win32/CMakeLists.txt), and the DLLs they and the
    // system's DLLs load in turn follow the same rule.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        const norvale::CommandLineOptions options = norvale::ParseCommandLine(ProgramArguments());
        if (options.SyncTime) {
            return RunSyncJobProcess(options);
        }
        SingleInstance oneClock;
        if (!oneClock.First() &&
            (BringRunningClockForward(kMainWindowClass) || !oneClock.TakeOverFromEndingClock())) {
            return 0;
        }
        SetThreadLocale(LOCALE_USER_DEFAULT);
        RegistryTimeZones();
        MainWindow window(instance, options.ClockSetterLog);
        window.Start();
        std::unique_ptr<Win32ResourceLog> resourceLog;
        if (options.ResourceLog) {
            resourceLog = std::make_unique<Win32ResourceLog>(
                instance, ToWide(*options.ResourceLog), kResourceLogIntervalMs,
                [&window] { return window.PresentedFrames(); },
                [](std::string_view text) { ShowErrorReport(nullptr, text); });
        }
        return RunMessageLoop();
    } catch (const std::exception& e) {
        ShowErrorReport(nullptr, e.what());
        return 1;
    }
}
