#pragma once

#include "core/shell/tray_icon.h"
#include "win32/win32_common.h"

#include <memory>

namespace norvale::win32 {

// The clock's icon in the notification area. A hidden top-level window of its own receives
// the icon's mouse messages and the shell's "TaskbarCreated" broadcast, and passes both to
// the icon's logic, which runs the owner's handlers.
class Win32TrayIcon final : public NotificationArea {
public:
    // icon: shown in the notification area; the caller keeps it alive.
    Win32TrayIcon(HINSTANCE instance, HICON icon, TrayIconHandlers handlers);
    ~Win32TrayIcon() override;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    TRxTrayIcon& Icon() { return *FIcon; }
    // Shows another image (the icon at another display scale); the caller keeps it alive.
    void SetIconImage(HICON icon);
    HWND Handle() const { return FHandle; }
    UINT TaskbarCreatedMessage() const { return FTaskbarCreated; }

    bool AddIcon(std::string_view tip) override;
    bool ModifyIcon(std::string_view tip) override;
    void DeleteIcon() override;
    TMenuCommand PopupMenu(const std::vector<TMenuItem>& items, POINT at) override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Notify(DWORD command, std::string_view tip);

    HWND FHandle = nullptr;
    HICON FIconImage;
    UINT FTaskbarCreated;
    std::unique_ptr<TRxTrayIcon> FIcon;
};

} // namespace norvale::win32
