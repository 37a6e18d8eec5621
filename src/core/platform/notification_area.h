#pragma once

#include "core/platform/geometry.h"
#include "core/platform/menu_items.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace norvale {

// The tip the icon starts with, and the most characters of tip the notification area shows.
inline constexpr std::string_view kTrayHint = "Norvale Time Clock";
inline constexpr std::size_t kTrayTipCharacters = 63;

// What the notification area of the platform does for the tray icon.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // NIM_ADD, NIM_MODIFY, NIM_DELETE with the icon and this tip text.
    virtual bool AddIcon(std::string_view tip) = 0;
    virtual bool ModifyIcon(std::string_view tip) = 0;
    virtual void DeleteIcon() = 0;
    // Shows the menu's items at a screen point until the user chose an item or dismissed it.
    virtual TMenuCommand PopupMenu(const std::vector<TMenuItem>& items, POINT at) = 0;
};

} // namespace norvale
