#include "core/shell/tray_icon.h"

#include "core/text/utf16.h"

#include <exception>
#include <utility>

namespace norvale {

std::string TrayTipText(std::string_view hint) {
    return std::string(Utf8Prefix(hint.substr(0, hint.find('|')), kTrayTipCharacters));
}

TRxTrayIcon::TRxTrayIcon(NotificationArea& area, TrayIconHandlers handlers)
    : FArea(area), FHandlers(std::move(handlers)) {}

TRxTrayIcon::~TRxTrayIcon() {
    Hide();
}

void TRxTrayIcon::Loaded() {
    FLoaded = true;
    Show();
}

void TRxTrayIcon::SetActive(bool active) {
    FActive = active;
    if (active) {
        Show();
    } else {
        Hide();
    }
}

void TRxTrayIcon::SetHint(std::string hint) {
    FHint = std::move(hint);
    if (FShown) {
        FArea.ModifyIcon(TrayTipText(FHint));
    }
}

void TRxTrayIcon::SetHasIcon(bool hasIcon) {
    FHasIcon = hasIcon;
    if (!hasIcon) {
        Hide();
    } else if (FShown) {
        FArea.ModifyIcon(TrayTipText(FHint));
    } else {
        Show();
    }
}

void TRxTrayIcon::TaskbarCreated() {
    FShown = false;
    Show();
}

void TRxTrayIcon::Show() {
    if (FLoaded && FActive && FHasIcon && !FShown) {
        FShown = FArea.AddIcon(TrayTipText(FHint));
    }
}

void TRxTrayIcon::Hide() {
    if (FShown) {
        FArea.DeleteIcon();
        FShown = false;
    }
}

bool TRxTrayIcon::Notify(std::uint32_t mouseMessage, TShiftState shift, POINT cursor) {
    if (mouseMessage < kTrayMouseMove || mouseMessage > kTrayMButtonDblClk) {
        return false;
    }
    // An error ends this message's handling only; the icon goes on answering the next one.
    try {
        Dispatch(mouseMessage, shift, cursor);
    } catch (const std::exception& e) {
        if (FHandlers.OnError) {
            FHandlers.OnError(e.what());
        }
    }
    return true;
}

void TRxTrayIcon::Dispatch(std::uint32_t mouseMessage, TShiftState shift, POINT cursor) {
    const auto down = [&](TMouseButton button, TShiftState state) {
        if (FHandlers.OnMouseDown) {
            FHandlers.OnMouseDown(button, state, cursor);
        }
    };
    const auto up = [&](TMouseButton button) {
        if (FHandlers.OnMouseUp) {
            FHandlers.OnMouseUp(button, shift, cursor);
        }
    };
    TShiftState doubled = shift;
    doubled.Double = true;
    switch (mouseMessage) {
    case kTrayMouseMove:
        if (FHandlers.OnMouseMove) {
            FHandlers.OnMouseMove(shift, cursor);
        }
        break;
    case kTrayLButtonDown:
        down(TMouseButton::mbLeft, shift);
        FLeftDown = true;
        break;
    case kTrayLButtonUp:
        if (std::exchange(FLeftDown, false)) {
            Click(TMouseButton::mbLeft, shift, cursor);
        }
        up(TMouseButton::mbLeft);
        break;
    case kTrayLButtonDblClk:
        DblClick();
        down(TMouseButton::mbLeft, doubled);
        break;
    case kTrayRButtonDown:
        down(TMouseButton::mbRight, shift);
        FRightDown = true;
        break;
    case kTrayRButtonUp:
        if (std::exchange(FRightDown, false)) {
            Click(TMouseButton::mbRight, shift, cursor);
        }
        up(TMouseButton::mbRight);
        break;
    case kTrayRButtonDblClk:
        down(TMouseButton::mbRight, doubled);
        break;
    case kTrayMButtonDown:
        down(TMouseButton::mbMiddle, shift);
        break;
    case kTrayMButtonUp:
        up(TMouseButton::mbMiddle);
        break;
    case kTrayMButtonDblClk:
        down(TMouseButton::mbMiddle, doubled);
        break;
    default:
        break;
    }
}

// A right click opens the menu when there is one; every other click is the owner's.
void TRxTrayIcon::Click(TMouseButton button, TShiftState shift, POINT cursor) {
    if (button == TMouseButton::mbRight && AutoPopup && PopupMenu != nullptr) {
        const TMenuCommand chosen = FArea.PopupMenu(PopupMenu->Items(), cursor);
        if (chosen == TMenuCommand::None) {
            return;
        }
        PopupMenu->Click(chosen);
        if (FHandlers.OnMenuItem) {
            FHandlers.OnMenuItem(chosen);
        }
    } else if (FHandlers.OnClick) {
        FHandlers.OnClick(button, shift, cursor);
    }
}

// A double click chooses the menu's enabled default item, or else is the owner's.
void TRxTrayIcon::DblClick() {
    const TMenuItem* item = PopupMenu != nullptr ? PopupMenu->DefaultItem() : nullptr;
    if (item != nullptr && item->Enabled) {
        const TMenuCommand chosen = PopupMenu->Click(item->Command);
        if (FHandlers.OnMenuItem) {
            FHandlers.OnMenuItem(chosen);
        }
    } else if (FHandlers.OnDblClick) {
        FHandlers.OnDblClick();
    }
}

} // namespace norvale
