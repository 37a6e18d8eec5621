#include "win32/main_window.h"
#include "win32/wide_text.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace norvale::win32;
    try {
        MainWindow window(instance);
        window.Start();
        return RunMessageLoop();
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, ToWide(e.what()).c_str(), kAppTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
}
