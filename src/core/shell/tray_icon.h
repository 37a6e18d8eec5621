#pragma once

#include "core/platform/geometry.h"
#include "core/platform/mouse_button.h"
#include "core/platform/notification_area.h"
#include "core/shell/popup_menu.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace norvale {

// The mouse messages the notification area passes on (the values of WM_MOUSEMOVE ...).
inline constexpr std::uint32_t kTrayMouseMove = 0x0200;
inline constexpr std::uint32_t kTrayLButtonDown = 0x0201;
inline constexpr std::uint32_t kTrayLButtonUp = 0x0202;
inline constexpr std::uint32_t kTrayLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kTrayRButtonDown = 0x0204;
inline constexpr std::uint32_t kTrayRButtonUp = 0x0205;
inline constexpr std::uint32_t kTrayRButtonDblClk = 0x0206;
inline constexpr std::uint32_t kTrayMButtonDown = 0x0207;
inline constexpr std::uint32_t kTrayMButtonUp = 0x0208;
inline constexpr std::uint32_t kTrayMButtonDblClk = 0x0209;

// The message the notification area sends the tray icon's window for every mouse event.
inline constexpr std::uint32_t kTrayCallbackMessage = 0xB054;

struct TShiftState {
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    bool Double = false;
    bool operator==(const TShiftState&) const = default;
};

// The owner's handlers; any may be empty.
struct TrayIconHandlers {
    std::function<void(TMouseButton, TShiftState, POINT)> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(TMouseButton, TShiftState, POINT)> OnMouseDown;
    std::function<void(TShiftState, POINT)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, POINT)> OnMouseUp;
    // A menu item was chosen, from the popup or by a double click on the default item.
    std::function<void(TMenuCommand)> OnMenuItem;
    // The application's error report, for an error a handler raised.
    std::function<void(std::string_view)> OnError;
};

// The tip the notification area shows: the hint up to its first "|", at most
// kTrayTipCharacters.
std::string TrayTipText(std::string_view hint);

// The icon in the notification area: when it is there, and what each mouse message does.
class TRxTrayIcon {
public:
    TRxTrayIcon(NotificationArea& area, TrayIconHandlers handlers);
    ~TRxTrayIcon();
    TRxTrayIcon(const TRxTrayIcon&) = delete;
    TRxTrayIcon& operator=(const TRxTrayIcon&) = delete;

    // The owner's components are loaded: an active icon with an image is added now.
    void Loaded();
    void SetActive(bool active);
    void SetHint(std::string hint);
    // Whether there is an image to show; without one the icon leaves the notification area.
    void SetHasIcon(bool hasIcon);
    // The shell made a new taskbar, which holds none of the old icons.
    void TaskbarCreated();

    // Runs the handlers of one callback message; false for a message that is not a mouse
    // message, which the window passes to its default handling.
    bool Notify(std::uint32_t mouseMessage, TShiftState shift, POINT cursor);

    bool Shown() const { return FShown; }
    bool Active() const { return FActive; }
    const std::string& Hint() const { return FHint; }

    // The menu a right click opens; nullptr for none.
    TPopupMenu* PopupMenu = nullptr;
    bool AutoPopup = true;

private:
    void Show();
    void Hide();
    void Click(TMouseButton button, TShiftState shift, POINT cursor);
    void DblClick();
    void Dispatch(std::uint32_t mouseMessage, TShiftState shift, POINT cursor);

    NotificationArea& FArea;
    TrayIconHandlers FHandlers;
    std::string FHint{kTrayHint};
    bool FActive = true;
    bool FHasIcon = true;
    bool FLoaded = false;
    bool FShown = false;
    bool FLeftDown = false;
    bool FRightDown = false;
};

} // namespace norvale
