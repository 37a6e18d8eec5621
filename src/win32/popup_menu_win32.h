#pragma once

#include "core/platform/menu_items.h"
#include "win32/win32_common.h"

#include <vector>

namespace norvale::win32 {

// A menu handle that destroys its menu, submenus included, when it goes.
class OwnedMenu {
public:
    explicit OwnedMenu(HMENU menu) : FMenu(menu) {}
    ~OwnedMenu();
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;
    OwnedMenu(OwnedMenu&& other) noexcept : FMenu(other.FMenu) { other.FMenu = nullptr; }
    OwnedMenu& operator=(OwnedMenu&&) = delete;
    HMENU Get() const { return FMenu; }

private:
    HMENU FMenu;
};

// The popup menu of the items: visible items only, each command as its identifier, the key
// after a tab, radio and check marks, the default item bold.
OwnedMenu BuildPopupMenu(const std::vector<TMenuItem>& items);

// Shows the menu at a screen point, owned by owner, until the user chose an item (returned)
// or dismissed it (None). The items are not changed.
TMenuCommand TrackPopupMenu(const std::vector<TMenuItem>& items, HWND owner, ::POINT at);

} // namespace norvale::win32
