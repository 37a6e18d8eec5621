#include "win32/tray_icon_win32.h"

#include "win32/popup_menu_win32.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

#include <algorithm>
#include <shellapi.h>
#include <stdexcept>

namespace norvale::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvaleTimeClock.TrayIcon";

// Runs the messages already waiting, as the menu is about to take over the input.
void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

Win32TrayIcon::Win32TrayIcon(HINSTANCE instance, HICON icon, TrayIconHandlers handlers)
    : FIconImage(icon), FTaskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
    RegisterPlainWindowClass(instance, kWindowClass, &Win32TrayIcon::WindowProc,
                             "Cannot register the tray icon's window class");
    // NOTE: a top-level window, never shown: the shell broadcasts "TaskbarCreated" only to
    // top-level windows, and a message-only window would miss it.
    FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
    if (!FHandle) {
        throw std::runtime_error("Cannot create the tray icon's window");
    }
    FIcon = std::make_unique<TRxTrayIcon>(*this, std::move(handlers));
    FIcon->SetHint(std::string(kTrayHint));
    FIcon->SetHasIcon(icon != nullptr);
}

Win32TrayIcon::~Win32TrayIcon() {
    FIcon.reset(); // removes the icon while the window still exists
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
}

bool Win32TrayIcon::Notify(DWORD command, std::string_view tip) {
    NOTIFYICONDATAW data{};
    // The first version of the record: icon, tip and callback message are all it needs.
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = FHandle;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = FIconImage;
    const std::wstring wide = ToWide(tip);
    const std::size_t length = std::min<std::size_t>(wide.size(), 63);
    std::copy_n(wide.begin(), length, data.szTip);
    data.szTip[length] = L'\0';
    return Shell_NotifyIconW(command, &data) != FALSE;
}

void Win32TrayIcon::SetIconImage(HICON icon) {
    FIconImage = icon;
    if (FIcon->Shown()) {
        ModifyIcon(TrayTipText(FIcon->Hint()));
    }
}

bool Win32TrayIcon::AddIcon(std::string_view tip) {
    return Notify(NIM_ADD, tip);
}

bool Win32TrayIcon::ModifyIcon(std::string_view tip) {
    return Notify(NIM_MODIFY, tip);
}

void Win32TrayIcon::DeleteIcon() {
    Notify(NIM_DELETE, {});
}

// NOTE: the menu only closes on a click elsewhere when its owner is the foreground window,
// and the message after it lets the shell see the menu end.
TMenuCommand Win32TrayIcon::PopupMenu(const std::vector<TMenuItem>& items, POINT at) {
    if (HWND active = GetActiveWindow()) {
        SendMessageW(active, WM_CANCELMODE, 0, 0);
    }
    SetForegroundWindow(FHandle);
    ProcessPendingMessages();
    const TMenuCommand chosen = TrackPopupMenu(items, FHandle, {at.x, at.y});
    SetForegroundWindow(FHandle);
    PostMessageW(FHandle, WM_NULL, 0, 0);
    return chosen;
}

LRESULT CALLBACK Win32TrayIcon::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<Win32TrayIcon>(hwnd, message, lParam);
    if (self && message == WM_NCCREATE) {
        self->FHandle = hwnd;
    }
    if (self && self->FIcon) {
        return self->Handle(message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32TrayIcon::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) {
        ::POINT cursor{};
        GetCursorPos(&cursor);
        const TShiftState shift{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0,
                                GetKeyState(VK_CONTROL) < 0, false};
        if (FIcon->Notify(LOWORD(lParam), shift, {cursor.x, cursor.y})) {
            return 0;
        }
    } else if (message == FTaskbarCreated) {
        FIcon->TaskbarCreated();
        return 0;
    }
    return DefWindowProcW(FHandle, message, wParam, lParam);
}

} // namespace norvale::win32
