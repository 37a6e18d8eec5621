#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

// Registers a window class for a window that is never drawn (no cursor, no background); a
// class registered before is no error. Throws with failure as its text otherwise.
void RegisterPlainWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                              const char* failure);

// Registers the class as RegisterPlainWindowClass does and makes a hidden message-only window
// of it for owner (WindowOwner finds it again). Throws with windowFailure as its text when
// the window cannot be made.
HWND CreateMessageOnlyWindow(HINSTANCE instance, const wchar_t* className, WNDPROC proc,
                             void* owner, const char* classFailure, const char* windowFailure);

// The object a window was made for (the last argument of CreateWindowExW). It is kept with the
// window from its first message on, so every later message finds it; nullptr when the window
// has none or it was taken off.
template <class Owner>
Owner* WindowOwner(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creating = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creating->lpCreateParams));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace norvale::win32
