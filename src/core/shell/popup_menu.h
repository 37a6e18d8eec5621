#pragma once

#include "core/platform/menu_items.h"
#include "core/skin/skin_menu.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace norvale {

// The window's opacities the menu offers, in percent; the first is the default.
inline constexpr std::array<int, 4> kOpacityLevels{100, 85, 70, 50};

bool IsSkinCommand(TMenuCommand command);
bool IsOpacityCommand(TMenuCommand command);
// The opacity in percent an Opacity item sets, and the item of an opacity (none when the
// menu has no such level).
int OpacityOf(TMenuCommand command);
TMenuCommand OpacityCommand(int percent);
std::size_t SkinIndex(TMenuCommand command);
TMenuCommand SkinCommand(std::size_t index);

// The clock's one popup menu, shown from the tray icon and as the face's context menu.
class TPopupMenu {
public:
    TPopupMenu();

    const std::vector<TMenuItem>& Items() const { return FItems; }
    // The item of a command, searched through the submenus; nullptr when there is none.
    const TMenuItem* Find(TMenuCommand command) const;
    const TMenuItem* DefaultItem() const;

    bool Checked(TMenuCommand command) const;
    void SetChecked(TMenuCommand command, bool checked);

    // The one Opacity item marked is the window's opacity.
    void UpdateOpacityItems(int percent);

    // The five mode items' radio mark follows the display mode; Atomic marks none of them.
    void UpdateModeItems(std::uint8_t clockType);
    // The alarm items at the top: "Stop Alarm" while any alarm sounds (the countdown's, the
    // timer's or one of the Alarms window), "Snooze" while one of the Alarms window sounds, and
    // the line below them while either is there.
    void ShowAlarmItems(bool ringing, bool snoozable);

    // Adds a skin folder to the Skins submenu, checked when it is the skin shown.
    void AddSkin(const std::string& name, const std::string& clockSkin);
    // The skin folder a skin command names.
    const std::string& SkinName(TMenuCommand command) const;

    // The user chose an item: a self-toggling check item flips its mark, and a skin or an
    // Opacity item becomes the checked one, before the command is returned for its handler.
    TMenuCommand Click(TMenuCommand command);

private:
    TMenuItem* FindItem(TMenuCommand command);
    TMenuItem& SkinsSubmenu();
    void SyncSkinItems();

    std::vector<TMenuItem> FItems;
    TSkinMenu FSkins;
};

} // namespace norvale
