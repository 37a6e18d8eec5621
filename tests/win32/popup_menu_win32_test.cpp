#include "core/shell/popup_menu.h"
#include "win32/popup_menu_win32.h"

#include <gtest/gtest.h>
#include <string>

namespace norvale::win32 {
namespace {

struct BuiltItem {
    std::wstring Text;
    UINT Id = 0;
    UINT Type = 0;
    UINT State = 0;
    HMENU Submenu = nullptr;
};

BuiltItem ItemAt(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 127;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
    return {text, info.wID, info.fType, info.fState, info.hSubMenu};
}

TEST(Win32PopupMenu, BuildsTheVisibleItemsInOrderWithTheirKeys) {
    TPopupMenu model;
    const OwnedMenu menu = BuildPopupMenu(model.Items());
    const wchar_t* const expected[] = {L"Show/Hide",
                                       L"",
                                       L"About Norvale Time Clock...",
                                       L"",
                                       L"Clock\t1",
                                       L"Countdown\t2",
                                       L"UpTime\t3",
                                       L"Stopwatch\t4",
                                       L"Timer\t5",
                                       L"",
                                       L"World Clock...",
                                       L"Countdown...",
                                       L"Timer...",
                                       L"Alarms...",
                                       L"Skins",
                                       L"Settings",
                                       L"",
                                       L"Exit"};
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 18); // the alarm items and their line are not shown
    for (UINT i = 0; i < 18; ++i) {
        const BuiltItem item = ItemAt(menu.Get(), i);
        EXPECT_EQ(item.Text, expected[i]) << i;
        EXPECT_EQ((item.Type & MFT_SEPARATOR) != 0, expected[i][0] == L'\0') << i;
    }
    EXPECT_EQ(ItemAt(menu.Get(), 13).Id, static_cast<UINT>(TMenuCommand::Alarms));
    EXPECT_EQ(ItemAt(menu.Get(), 17).Id, static_cast<UINT>(TMenuCommand::Exit));

    // While an alarm of the Alarms window sounds, "Snooze" and "Stop Alarm" come first, over a
    // line.
    model.ShowAlarmItems(true, true);
    const OwnedMenu sounding = BuildPopupMenu(model.Items());
    ASSERT_EQ(GetMenuItemCount(sounding.Get()), 21);
    EXPECT_EQ(ItemAt(sounding.Get(), 0).Text, L"Snooze");
    EXPECT_EQ(ItemAt(sounding.Get(), 0).Id, static_cast<UINT>(TMenuCommand::Snooze));
    EXPECT_EQ(ItemAt(sounding.Get(), 1).Text, L"Stop Alarm");
    EXPECT_EQ(ItemAt(sounding.Get(), 1).Id, static_cast<UINT>(TMenuCommand::StopAlarm));
    EXPECT_TRUE(ItemAt(sounding.Get(), 2).Type & MFT_SEPARATOR);
    EXPECT_EQ(ItemAt(sounding.Get(), 3).Text, L"Show/Hide");
}

TEST(Win32PopupMenu, MarksTheDefaultTheModeAndTheSettings) {
    TPopupMenu model;
    model.UpdateModeItems(3);
    model.SetChecked(TMenuCommand::Chimes, false);
    const OwnedMenu menu = BuildPopupMenu(model.Items());
    EXPECT_EQ(GetMenuDefaultItem(menu.Get(), FALSE, 0), static_cast<UINT>(TMenuCommand::ShowHide));
    for (UINT i = 4; i <= 8; ++i) {
        const BuiltItem item = ItemAt(menu.Get(), i);
        EXPECT_TRUE(item.Type & MFT_RADIOCHECK) << i;
        EXPECT_EQ((item.State & MFS_CHECKED) != 0, i == 7) << i; // Stopwatch
    }
    const BuiltItem settings = ItemAt(menu.Get(), 15);
    ASSERT_NE(settings.Submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(settings.Submenu), 8);
    const wchar_t* const names[] = {L"On Top",  L"Load at Startup",      L"Chimes",
                                    L"AM/PM",   L"Lock Position",        L"Click Through",
                                    L"Opacity", L"Hide When Full Screen"};
    for (UINT i = 0; i < 8; ++i) {
        const BuiltItem item = ItemAt(settings.Submenu, i);
        EXPECT_EQ(item.Text, names[i]);
        EXPECT_FALSE(item.Type & MFT_RADIOCHECK);
        EXPECT_EQ((item.State & MFS_CHECKED) != 0, i < 4 && i != 2) << i;
    }
    // The opacities: radio items, the window's own marked.
    const BuiltItem opacity = ItemAt(settings.Submenu, 6);
    ASSERT_NE(opacity.Submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(opacity.Submenu), 4);
    const wchar_t* const levels[] = {L"100%", L"85%", L"70%", L"50%"};
    for (UINT i = 0; i < 4; ++i) {
        const BuiltItem item = ItemAt(opacity.Submenu, i);
        EXPECT_EQ(item.Text, levels[i]);
        EXPECT_TRUE(item.Type & MFT_RADIOCHECK) << i;
        EXPECT_EQ((item.State & MFS_CHECKED) != 0, i == 0) << i;
    }
}

TEST(Win32PopupMenu, SkinsAreRadioItemsWithTheirCommands) {
    TPopupMenu model;
    model.AddSkin("norvale", "R&B");
    model.AddSkin("R&B", "R&B");
    const OwnedMenu menu = BuildPopupMenu(model.Items());
    const BuiltItem skins = ItemAt(menu.Get(), 14);
    ASSERT_NE(skins.Submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(skins.Submenu), 2);
    const BuiltItem second = ItemAt(skins.Submenu, 1);
    EXPECT_EQ(second.Text, L"R&&B"); // shown as "R&B", not as an access key
    EXPECT_EQ(second.Id, static_cast<UINT>(SkinCommand(1)));
    EXPECT_TRUE(second.Type & MFT_RADIOCHECK);
    EXPECT_TRUE(second.State & MFS_CHECKED);
    EXPECT_FALSE(ItemAt(skins.Submenu, 0).State & MFS_CHECKED);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

TEST(Win32PopupMenu, ADismissedMenuChoosesNothing) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    SetTimer(nullptr, 0, 200, &CloseMenu);
    EXPECT_EQ(TrackPopupMenu(TPopupMenu().Items(), owner, {100, 100}), TMenuCommand::None);
    DestroyWindow(owner);
}

} // namespace
} // namespace norvale::win32
