#include "win32/window_class.h"

#include <stdexcept>

namespace norvale::win32 {

void RegisterPlainWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                              const char* failure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error(failure);
    }
}

HWND CreateMessageOnlyWindow(HINSTANCE instance, const wchar_t* className, WNDPROC proc,
                             void* owner, const char* classFailure, const char* windowFailure) {
    RegisterPlainWindowClass(instance, className, proc, classFailure);
    const HWND window =
        CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, owner);
    if (!window) {
        throw std::runtime_error(windowFailure);
    }
    return window;
}

} // namespace norvale::win32
