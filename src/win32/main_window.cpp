#include "win32/main_window.h"

#include <stdexcept>

namespace norvale::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvaleTimeClock.Main";
constexpr int kInitialSize = 200;

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("Cannot register the main window class");
    }
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance) : FInstance(instance) {
    RegisterWindowClass(instance, &MainWindow::WindowProc);
    FHandle = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kWindowClass, kAppTitle, WS_POPUP,
                              CW_USEDEFAULT, CW_USEDEFAULT, kInitialSize, kInitialSize, nullptr,
                              nullptr, instance, this);
    if (!FHandle) {
        throw std::runtime_error("Cannot create the main window");
    }
}

MainWindow::~MainWindow() {
    if (FHandle) {
        DestroyWindow(FHandle);
    }
}

void MainWindow::Show() {
    ShowWindow(FHandle, SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The handle is needed by every message before CreateWindowExW returns it.
        auto* creating = static_cast<MainWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        creating->FHandle = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        return self->Handle(message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(FHandle);
        return 0;
    case WM_DESTROY:
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        FHandle = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(FHandle, message, wParam, lParam);
    }
}

int RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got < 0 ? 1 : static_cast<int>(msg.wParam);
}

} // namespace norvale::win32
