#include "win32/main_window.h"

namespace norvale::win32 {
namespace {

TMouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return TMouseButton::mbLeft;
    case WM_RBUTTONDOWN:
        return TMouseButton::mbRight;
    default:
        return TMouseButton::mbMiddle;
    }
}

bool ModifierHeld() {
    return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0;
}

} // namespace

bool MainWindow::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The release then reaches the window wherever the mouse is let go.
        SetCapture(FHandle);
        FForm->FormMouseDown(ButtonOf(message), x, y);
        return true;
    case WM_MOUSEMOVE: {
        const TCursorKind before = FForm->CursorShown();
        FForm->FormMouseMove(x, y);
        if (FForm->CursorShown() != before) {
            SendMessageW(FHandle, WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), HTCLIENT);
        }
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (GetCapture() == FHandle) {
            ReleaseCapture();
        }
        FForm->FormMouseUp();
        // The right button's release goes on to the default handling, which asks for the
        // context menu.
        return message != WM_RBUTTONUP;
    case WM_KEYDOWN:
        // The mode shortcuts: the digit keys 1 to 5 without modifiers.
        if (wParam >= '1' && wParam <= '5' && !ModifierHeld()) {
            FForm->aClockExecute(static_cast<int>(wParam - '1'));
            return true;
        }
        return false;
    default:
        return false;
    }
}

HCURSOR MainWindow::ShownCursor() const {
    constexpr int kArrow = 32512;       // IDC_ARROW
    constexpr int kAppStarting = 32650; // IDC_APPSTARTING
    switch (FForm->CursorShown()) {
    case TCursorKind::HandPoint:
        if (FHandCursor) {
            return FHandCursor;
        }
        break;
    case TCursorKind::AppStarting:
        return LoadCursorW(nullptr, MAKEINTRESOURCEW(kAppStarting));
    case TCursorKind::Default:
        break;
    }
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrow));
}

void MainWindow::CursorChanged() {
    // The system asks for the cursor only when the mouse moves; a mouse resting over the face
    // is shown the new one now. Elsewhere it belongs to another window.
    ::POINT p{};
    if (GetCursorPos(&p) && WindowFromPoint(p) == FHandle) {
        SendMessageW(FHandle, WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), HTCLIENT);
    }
}

} // namespace norvale::win32
