#include "core/skin/skin_menu.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(SkinMenu, ChecksTheCurrentSkinExactly) {
    TSkinMenu menu;
    for (const char* name : {"Norvale", "norvale", "retro"}) {
        menu.AddSkinMenuItem(name, "norvale");
    }
    ASSERT_EQ(menu.Items().size(), 3u);
    EXPECT_FALSE(menu.Items()[0].Checked); // another case is another skin
    EXPECT_TRUE(menu.Items()[1].Checked);
    EXPECT_FALSE(menu.Items()[2].Checked);
    EXPECT_EQ(menu.Items()[2].Caption, "retro");
    EXPECT_EQ(menu.Items()[2].Hint, "retro");
    EXPECT_TRUE(menu.Items()[2].RadioItem);
}

TEST(SkinMenu, AClickChecksOneItemAndNamesItsSkin) {
    TSkinMenu menu;
    menu.AddSkinMenuItem("norvale", "norvale");
    menu.AddSkinMenuItem("retro", "norvale");
    EXPECT_EQ(menu.Choose(1), "retro");
    EXPECT_FALSE(menu.Items()[0].Checked);
    EXPECT_TRUE(menu.Items()[1].Checked);
    EXPECT_EQ(menu.Choose(1), "retro"); // choosing the shown skin loads it again
    EXPECT_THROW(menu.Choose(2), std::out_of_range);
}

TEST(SkinMenu, NoSkinCheckedWhenTheCurrentOneHasNoFolder) {
    TSkinMenu menu;
    menu.AddSkinMenuItem("norvale", "gone");
    EXPECT_FALSE(menu.Items()[0].Checked);
}

} // namespace
} // namespace norvale
