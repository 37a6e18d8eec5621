#include "core/clock/display_mode.h"
#include "core/shell/popup_menu.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale {
namespace {

using Kind = TMenuItemKind;
using Cmd = TMenuCommand;

// One line per item: name, caption, kind, key and marks, submenus indented.
void Describe(const std::vector<TMenuItem>& items, const std::string& indent,
              std::vector<std::string>& lines) {
    static const char* const kinds[] = {"plain", "separator", "submenu", "radio", "check"};
    for (const TMenuItem& item : items) {
        std::string line =
            indent + item.Name + " \"" + item.Caption + "\" " + kinds[static_cast<int>(item.Kind)];
        line += item.ShortCut.empty() ? "" : " key " + item.ShortCut;
        line += item.Default ? " default" : "";
        line += item.Visible ? "" : " invisible";
        line += item.Checked ? " checked" : "";
        line += item.AutoCheck ? " auto" : "";
        lines.push_back(line);
        Describe(item.Items, indent + "  ", lines);
    }
}

TEST(PopupMenu, HoldsExactlyTheDesignedItems) {
    TPopupMenu menu;
    menu.AddSkin("norvale", "norvale");
    menu.AddSkin("retro", "norvale");
    std::vector<std::string> lines;
    Describe(menu.Items(), "", lines);
    const std::vector<std::string> expected{
        "Snooze1 \"Snooze\" plain invisible",
        "StopAlarm1 \"Stop Alarm\" plain invisible",
        "N5 \"-\" separator invisible",
        "ShowHide1 \"Show/Hide\" plain default",
        "N4 \"-\" separator",
        "About1 \"About Norvale Time Clock...\" plain",
        "N1 \"-\" separator",
        "Clock1 \"Clock\" radio key 1 checked",
        "Countdown1 \"Countdown\" radio key 2",
        "UpTime1 \"UpTime\" radio key 3",
        "Stopwatch2 \"Stopwatch\" radio key 4",
        "imer1 \"Timer\" radio key 5",
        "N3 \"-\" separator",
        "WorldClock1 \"World Clock...\" plain",
        "Countdown2 \"Countdown...\" plain",
        "imer2 \"Timer...\" plain",
        "Alarms1 \"Alarms...\" plain",
        "imnSkins \"Skins\" submenu",
        "  norvale \"norvale\" radio checked",
        "  retro \"retro\" radio",
        "Settings1 \"Settings\" submenu",
        "  OnTop1 \"On Top\" check checked auto",
        "  LoadatStartup1 \"Load at Startup\" check checked auto",
        "  Chimes1 \"Chimes\" check checked auto",
        "  AMPM1 \"AM/PM\" check checked auto",
        "  LockPosition1 \"Lock Position\" check auto",
        "  ClickThrough1 \"Click Through\" check auto",
        "  Opacity1 \"Opacity\" submenu",
        "    Opacity100 \"100%\" radio checked",
        "    Opacity85 \"85%\" radio",
        "    Opacity70 \"70%\" radio",
        "    Opacity50 \"50%\" radio",
        "  HideWhenFullScreen1 \"Hide When Full Screen\" check auto",
        "N2 \"-\" separator",
        "Exit1 \"Exit\" plain",
    };
    EXPECT_EQ(lines, expected);
}

TEST(PopupMenu, EveryCommandHasOneItem) {
    const TPopupMenu menu;
    for (int c = static_cast<int>(Cmd::ShowHide); c <= static_cast<int>(Cmd::LastOpacity); ++c) {
        const TMenuItem* item = menu.Find(static_cast<Cmd>(c));
        ASSERT_NE(item, nullptr) << c;
        EXPECT_EQ(static_cast<int>(item->Command), c);
    }
    EXPECT_EQ(menu.Find(Cmd::None), nullptr); // not the separators
    EXPECT_EQ(menu.Find(SkinCommand(0)), nullptr);
    ASSERT_NE(menu.DefaultItem(), nullptr);
    EXPECT_EQ(menu.DefaultItem()->Command, Cmd::ShowHide);
}

// Any alarm can be stopped from the menu; only one of the Alarms window can be snoozed.
TEST(PopupMenu, TheAlarmItemsAndTheirLineShowOnlyWhileAnAlarmSounds) {
    TPopupMenu menu;
    const auto shown = [&] {
        std::vector<std::string> names;
        for (const TMenuItem& item : menu.Items()) {
            if (item.Visible && names.size() < 4) {
                names.push_back(item.Name);
            }
        }
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(shown(), (Names{"ShowHide1", "N4", "About1", "N1"}));
    menu.ShowAlarmItems(true, false); // the countdown's or the timer's
    EXPECT_EQ(shown(), (Names{"StopAlarm1", "N5", "ShowHide1", "N4"}));
    menu.ShowAlarmItems(true, true); // one of the Alarms window
    EXPECT_EQ(shown(), (Names{"Snooze1", "StopAlarm1", "N5", "ShowHide1"}));
    menu.ShowAlarmItems(false, false);
    EXPECT_EQ(shown(), (Names{"ShowHide1", "N4", "About1", "N1"}));
}

TEST(PopupMenu, TheModeMarkFollowsTheModeAndAtomicMarksNone) {
    TPopupMenu menu;
    const Cmd modes[] = {Cmd::Clock, Cmd::Countdown, Cmd::UpTime, Cmd::Stopwatch, Cmd::Timer};
    for (std::uint8_t mode = ctClock; mode <= ctTimer; ++mode) {
        menu.UpdateModeItems(mode);
        for (std::uint8_t other = ctClock; other <= ctTimer; ++other) {
            EXPECT_EQ(menu.Checked(modes[other]), other == mode) << int(mode) << int(other);
        }
    }
    menu.UpdateModeItems(ctAtomic);
    for (const Cmd c : modes) {
        EXPECT_FALSE(menu.Checked(c));
    }
}

TEST(PopupMenu, CheckItemsToggleThemselvesAndOthersDoNot) {
    TPopupMenu menu;
    EXPECT_EQ(menu.Click(Cmd::AmPm), Cmd::AmPm);
    EXPECT_FALSE(menu.Checked(Cmd::AmPm));
    menu.Click(Cmd::AmPm);
    EXPECT_TRUE(menu.Checked(Cmd::AmPm));
    // A mode item's mark is the mode's, not the click's.
    EXPECT_EQ(menu.Click(Cmd::Timer), Cmd::Timer);
    EXPECT_FALSE(menu.Checked(Cmd::Timer));
    EXPECT_TRUE(menu.Checked(Cmd::Clock));
    menu.SetChecked(Cmd::OnTop, false);
    EXPECT_FALSE(menu.Checked(Cmd::OnTop));
    EXPECT_TRUE(menu.Checked(Cmd::LoadAtStartup));
}

TEST(PopupMenu, ASkinItemBecomesTheCheckedOneAndNamesItsFolder) {
    TPopupMenu menu;
    menu.AddSkin("norvale", "retro");
    menu.AddSkin("retro", "retro");
    const Cmd first = SkinCommand(0);
    EXPECT_TRUE(IsSkinCommand(first));
    EXPECT_FALSE(IsSkinCommand(Cmd::Exit));
    EXPECT_EQ(SkinIndex(SkinCommand(7)), 7u);
    EXPECT_EQ(menu.Click(first), first);
    EXPECT_EQ(menu.SkinName(first), "norvale");
    EXPECT_TRUE(menu.Checked(first));
    EXPECT_FALSE(menu.Checked(SkinCommand(1)));
    EXPECT_EQ(menu.Find(SkinCommand(1))->Caption, "retro");
    EXPECT_THROW(menu.SkinName(SkinCommand(2)), std::out_of_range);
}

TEST(PopupMenu, AnOpacityItemBecomesTheOneMarkedAndNamesItsLevel) {
    TPopupMenu menu;
    EXPECT_EQ(menu.Click(OpacityCommand(70)), OpacityCommand(70));
    for (const int level : {100, 85, 70, 50}) {
        const Cmd command = OpacityCommand(level);
        ASSERT_TRUE(IsOpacityCommand(command)) << level;
        EXPECT_EQ(OpacityOf(command), level);
        EXPECT_EQ(menu.Checked(command), level == 70) << level;
    }
    EXPECT_EQ(OpacityCommand(60), Cmd::None);
    EXPECT_FALSE(IsOpacityCommand(Cmd::HideWhenFullScreen));
    EXPECT_FALSE(IsOpacityCommand(SkinCommand(0)));
    menu.UpdateOpacityItems(50);
    EXPECT_TRUE(menu.Checked(OpacityCommand(50)));
    EXPECT_FALSE(menu.Checked(OpacityCommand(70)));
    // Choosing the marked level again keeps it marked (a radio item never unmarks itself).
    menu.Click(OpacityCommand(50));
    EXPECT_TRUE(menu.Checked(OpacityCommand(50)));
}

TEST(PopupMenu, TheNewSettingsStartUncheckedAndToggleThemselves) {
    TPopupMenu menu;
    for (const Cmd command : {Cmd::LockPosition, Cmd::ClickThrough, Cmd::HideWhenFullScreen}) {
        EXPECT_FALSE(menu.Checked(command));
        menu.Click(command);
        EXPECT_TRUE(menu.Checked(command));
        menu.Click(command);
        EXPECT_FALSE(menu.Checked(command));
    }
}

} // namespace
} // namespace norvale
