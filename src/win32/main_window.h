#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

inline constexpr wchar_t kAppTitle[] = L"Norvale Time Clock";

// The clock's top-level window: borderless, layered, a tool window so it has no taskbar
// button. Closing it ends the message loop.
class MainWindow {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return FHandle; }
    void Show();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE FInstance;
    HWND FHandle = nullptr;
};

// Runs the message loop until the main window has closed; returns the exit code.
int RunMessageLoop();

} // namespace norvale::win32
