#include "win32/error_report_win32.h"
#include "win32/main_window.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace norvale::win32;
    try {
        MainWindow window(instance);
        window.Start();
        return RunMessageLoop();
    } catch (const std::exception& e) {
        ShowErrorReport(nullptr, e.what());
        return 1;
    }
}
