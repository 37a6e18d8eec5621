#include "win32/system_colours_win32.h"
#include "win32/win32_common.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

TEST(Win32SystemColours, GivesTheThemesColoursByIndex) {
    const Win32SystemColours colours;
    for (const int index : {COLOR_WINDOW, COLOR_HIGHLIGHT, COLOR_BTNFACE, COLOR_INFOBK}) {
        EXPECT_EQ(colours.SystemColour(index), static_cast<std::uint32_t>(GetSysColor(index)));
        EXPECT_EQ(colours.SystemColour(index) & 0xFF000000u, 0u) << index;
    }
    // The window's and the highlight's colours differ in every theme Windows ships.
    EXPECT_NE(colours.SystemColour(COLOR_WINDOW), colours.SystemColour(COLOR_HIGHLIGHT));
}

} // namespace
} // namespace norvale::win32
