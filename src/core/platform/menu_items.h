#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A popup menu as the platform shows it: the items, their marks and the command each one
// chooses. The rules that set the marks are the menu model's.

namespace norvale {

// What a menu item does when chosen; the numbers are the items' command identifiers on the
// platform. Skin items count up from FirstSkin, one per skin folder.
enum class TMenuCommand : std::uint16_t {
    None = 0,
    ShowHide = 100,
    About,
    Clock,
    Countdown,
    UpTime,
    Stopwatch,
    Timer,
    WorldClock,
    SetCountdown,
    SetTimer,
    Alarms,
    OnTop,
    LoadAtStartup,
    Chimes,
    AmPm,
    Exit,
    Snooze,
    StopAlarm,
    LockPosition,
    ClickThrough,
    HideWhenFullScreen,
    // The Opacity submenu's items, one per level, in the order of the menu's opacity levels.
    FirstOpacity,
    LastOpacity = FirstOpacity + 3,
    FirstSkin = 1000,
};

enum class TMenuItemKind { Plain, Separator, Submenu, Radio, Check };

// One item of the popup menu as the user sees it.
struct TMenuItem {
    std::string Name; // the component's name, e.g. "ShowHide1"
    std::string Caption;
    TMenuItemKind Kind = TMenuItemKind::Plain;
    TMenuCommand Command = TMenuCommand::None;
    std::string ShortCut; // the key shown beside the caption; empty for none
    bool Default = false; // drawn bold; a double click on the tray icon chooses it
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
    bool AutoCheck = false; // flips its own check mark when chosen
    std::vector<TMenuItem> Items;
};

} // namespace norvale
