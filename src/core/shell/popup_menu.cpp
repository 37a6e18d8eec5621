#include "core/shell/popup_menu.h"

#include <array>
#include <stdexcept>

namespace norvale {
namespace {

using Kind = TMenuItemKind;
using Cmd = TMenuCommand;

TMenuItem Plain(const char* name, const char* caption, Cmd command) {
    return {name, caption, Kind::Plain, command, {}, false, true, true, false, false, {}};
}

TMenuItem Separator(const char* name) {
    return {name, "-", Kind::Separator, Cmd::None, {}, false, true, true, false, false, {}};
}

// A mode item takes caption and key from its action.
TMenuItem Mode(const char* name, const char* caption, Cmd command, const char* key) {
    return {name, caption, Kind::Radio, command, key, false, true, true, false, false, {}};
}

TMenuItem Check(const char* name, const char* caption, Cmd command) {
    return {name, caption, Kind::Check, command, {}, false, true, true, true, true, {}};
}

TMenuItem Unchecked(TMenuItem item) {
    item.Checked = false;
    return item;
}

TMenuItem Level(int percent) {
    const std::string text = std::to_string(percent);
    return {"Opacity" + text,
            text + "%",
            Kind::Radio,
            OpacityCommand(percent),
            {},
            false,
            true,
            true,
            false,
            false,
            {}};
}

std::vector<TMenuItem> OpacityItems() {
    std::vector<TMenuItem> items;
    items.reserve(kOpacityLevels.size());
    for (const int percent : kOpacityLevels) {
        items.push_back(Level(percent));
    }
    return items;
}

TMenuItem Submenu(const char* name, const char* caption, std::vector<TMenuItem> items) {
    return {name, caption, Kind::Submenu, Cmd::None,       {}, false, true,
            true, false,   false,         std::move(items)};
}

// The mode items in the order of their actions' tags (display modes 0 to 4).
constexpr std::array kModeCommands{Cmd::Clock, Cmd::Countdown, Cmd::UpTime, Cmd::Stopwatch,
                                   Cmd::Timer};

template <typename Items>
auto FindIn(Items& items, Cmd command) -> decltype(&items.front()) {
    for (auto& item : items) {
        if (command != Cmd::None && item.Command == command) {
            return &item;
        }
        if (auto* found = FindIn(item.Items, command)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

bool IsSkinCommand(TMenuCommand command) {
    return command >= Cmd::FirstSkin;
}

std::size_t SkinIndex(TMenuCommand command) {
    return static_cast<std::size_t>(command) - static_cast<std::size_t>(Cmd::FirstSkin);
}

TMenuCommand SkinCommand(std::size_t index) {
    return static_cast<Cmd>(static_cast<std::size_t>(Cmd::FirstSkin) + index);
}

bool IsOpacityCommand(TMenuCommand command) {
    return command >= Cmd::FirstOpacity && command <= Cmd::LastOpacity;
}

int OpacityOf(TMenuCommand command) {
    return kOpacityLevels.at(static_cast<std::size_t>(command) -
                             static_cast<std::size_t>(Cmd::FirstOpacity));
}

TMenuCommand OpacityCommand(int percent) {
    for (std::size_t i = 0; i < kOpacityLevels.size(); ++i) {
        if (kOpacityLevels[i] == percent) {
            return static_cast<Cmd>(static_cast<std::size_t>(Cmd::FirstOpacity) + i);
        }
    }
    return Cmd::None;
}

TPopupMenu::TPopupMenu() {
    TMenuItem showHide = Plain("ShowHide1", "Show/Hide", Cmd::ShowHide);
    showHide.Default = true;
    FItems = {
        Plain("Snooze1", "Snooze", Cmd::Snooze),
        Plain("StopAlarm1", "Stop Alarm", Cmd::StopAlarm),
        Separator("N5"),
        showHide,
        Separator("N4"),
        Plain("About1", "About Norvale Time Clock...", Cmd::About),
        Separator("N1"),
        Mode("Clock1", "Clock", Cmd::Clock, "1"),
        Mode("Countdown1", "Countdown", Cmd::Countdown, "2"),
        Mode("UpTime1", "UpTime", Cmd::UpTime, "3"),
        Mode("Stopwatch2", "Stopwatch", Cmd::Stopwatch, "4"),
        Mode("imer1", "Timer", Cmd::Timer, "5"),
        Separator("N3"),
        Plain("WorldClock1", "World Clock...", Cmd::WorldClock),
        Plain("Countdown2", "Countdown...", Cmd::SetCountdown),
        Plain("imer2", "Timer...", Cmd::SetTimer),
        Plain("Alarms1", "Alarms...", Cmd::Alarms),
        Submenu("imnSkins", "Skins", {}),
        Submenu("Settings1", "Settings",
                {Check("OnTop1", "On Top", Cmd::OnTop),
                 Check("LoadatStartup1", "Load at Startup", Cmd::LoadAtStartup),
                 Check("Chimes1", "Chimes", Cmd::Chimes), Check("AMPM1", "AM/PM", Cmd::AmPm),
                 Unchecked(Check("LockPosition1", "Lock Position", Cmd::LockPosition)),
                 Unchecked(Check("ClickThrough1", "Click Through", Cmd::ClickThrough)),
                 Submenu("Opacity1", "Opacity", OpacityItems()),
                 Unchecked(Check("HideWhenFullScreen1", "Hide When Full Screen",
                                 Cmd::HideWhenFullScreen))}),
        Separator("N2"),
        Plain("Exit1", "Exit", Cmd::Exit),
    };
    // The first mode, Clock, until the clock says otherwise.
    SetChecked(kModeCommands.front(), true);
    UpdateOpacityItems(kOpacityLevels.front());
    ShowAlarmItems(false, false);
}

const TMenuItem* TPopupMenu::Find(TMenuCommand command) const {
    return FindIn(FItems, command);
}

TMenuItem* TPopupMenu::FindItem(TMenuCommand command) {
    return FindIn(FItems, command);
}

const TMenuItem* TPopupMenu::DefaultItem() const {
    for (const TMenuItem& item : FItems) {
        if (item.Default) {
            return &item;
        }
    }
    return nullptr;
}

bool TPopupMenu::Checked(TMenuCommand command) const {
    const TMenuItem* item = Find(command);
    return item != nullptr && item->Checked;
}

void TPopupMenu::SetChecked(TMenuCommand command, bool checked) {
    if (TMenuItem* item = FindItem(command)) {
        item->Checked = checked;
    }
}

void TPopupMenu::UpdateModeItems(std::uint8_t clockType) {
    for (std::size_t mode = 0; mode < kModeCommands.size(); ++mode) {
        SetChecked(kModeCommands[mode], mode == clockType);
    }
}

void TPopupMenu::ShowAlarmItems(bool ringing, bool snoozable) {
    for (TMenuItem& item : FItems) {
        if (item.Name == "Snooze1") {
            item.Visible = snoozable;
        } else if (item.Name == "StopAlarm1") {
            item.Visible = ringing;
        } else if (item.Name == "N5") {
            item.Visible = ringing || snoozable;
        }
    }
}

void TPopupMenu::UpdateOpacityItems(int percent) {
    for (const int level : kOpacityLevels) {
        SetChecked(OpacityCommand(level), level == percent);
    }
}

TMenuItem& TPopupMenu::SkinsSubmenu() {
    for (TMenuItem& item : FItems) {
        if (item.Name == "imnSkins") {
            return item;
        }
    }
    throw std::logic_error("the popup menu has no Skins submenu");
}

void TPopupMenu::AddSkin(const std::string& name, const std::string& clockSkin) {
    FSkins.AddSkinMenuItem(name, clockSkin);
    const TSkinMenuItem& skin = FSkins.Items().back();
    TMenuItem item{skin.Hint, skin.Caption, Kind::Radio, SkinCommand(FSkins.Items().size() - 1),
                   {},        false,        true,        true,
                   false,     false,        {}};
    SkinsSubmenu().Items.push_back(std::move(item));
    SyncSkinItems();
}

const std::string& TPopupMenu::SkinName(TMenuCommand command) const {
    return FSkins.Items().at(SkinIndex(command)).Hint;
}

void TPopupMenu::SyncSkinItems() {
    std::vector<TMenuItem>& items = SkinsSubmenu().Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].Checked = FSkins.Items()[i].Checked;
    }
}

TMenuCommand TPopupMenu::Click(TMenuCommand command) {
    if (IsSkinCommand(command)) {
        FSkins.Choose(SkinIndex(command));
        SyncSkinItems();
    } else if (IsOpacityCommand(command)) {
        UpdateOpacityItems(OpacityOf(command));
    } else if (TMenuItem* item = FindItem(command); item != nullptr && item->AutoCheck) {
        item->Checked = !item->Checked;
    }
    return command;
}

} // namespace norvale
