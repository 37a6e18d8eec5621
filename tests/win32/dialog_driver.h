#pragma once

#include "win32/win32_common.h"

#include <functional>

namespace norvale::win32::testing {

// Acts on a modal window as a person would, from inside its modal loop: once find() returns a
// visible window, act() runs once on it. A window still open two seconds after act() is
// ended with kAbandoned, so a test that fails to close it fails instead of hanging.
class ModalDriver {
public:
    static constexpr int kAbandoned = 99;

    ModalDriver(std::function<HWND()> find, std::function<void(HWND)> act);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Acted() const { return FActed; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::function<HWND()> FFind;
    std::function<void(HWND)> FAct;
    UINT_PTR FTimer = 0;
    bool FActed = false;
    int FTicksSinceAct = 0;
};

// A key pressed and released on the control that has the keyboard focus.
void PressKey(WPARAM key);

// The visible top-level window of this thread with this caption, or null.
HWND FindThreadWindow(const wchar_t* caption);

} // namespace norvale::win32::testing
