#include "core/shell/form_placement.h"
#include "win32/placement_window_win32.h"
#include "win32/registry_win32.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

constexpr wchar_t kScratch[] = L"Software\\NorvalePlacementTest";

class Win32PlacementWindowTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override {
        DestroyWindow(window);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    }
    static HWND Make(DWORD style) {
        return CreateWindowExW(0, L"STATIC", L"placement", style, 40, 50, 200, 150, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static ::RECT Rect(HWND hwnd) {
        ::RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }

    HWND window = Make(WS_POPUP);
};

TEST_F(Win32PlacementWindowTest, DescribesTheWindowAndTheScreen) {
    ASSERT_NE(window, nullptr);
    Win32PlacementWindow placed(window, true, true);
    const norvale::RECT bounds = placed.Bounds();
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.bottom, 200);
    EXPECT_FALSE(placed.IsVisible());
    EXPECT_FALSE(placed.IsSizeable());
    EXPECT_FALSE(placed.IsAppIconic());
    EXPECT_GT(placed.PrimaryScreenSize().Width, 0);
    EXPECT_GT(placed.PixelsPerInch(), 0);
    EXPECT_EQ(placed.GetPlacement().rcNormalPosition.right, 240);
    placed.UseDesignedPosition();
    EXPECT_FALSE(placed.CentredWhenShown());

    HWND sizeable = Make(WS_POPUP | WS_THICKFRAME);
    EXPECT_TRUE(Win32PlacementWindow(sizeable, false, false).IsSizeable());
    DestroyWindow(sizeable);
}

// A store over the real registry and window puts the window back where it was saved.
TEST_F(Win32PlacementWindowTest, AStoreRoundTripPutsTheWindowBack) {
    ASSERT_NE(window, nullptr);
    Win32Registry registry;
    Win32PlacementWindow placed(window, false, true);
    TFormPlacement store(registry, placed);
    store.IniFileName = "Software\\NorvalePlacementTest";
    store.IniSection = "Window";
    store.Active = false;
    store.SaveState();
    SetWindowPos(window, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(Rect(window).left, 300);
    store.RestoreState();
    EXPECT_EQ(Rect(window).left, 40);
    EXPECT_EQ(Rect(window).top, 50);
    EXPECT_EQ(Rect(window).right, 240);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(placed.CentredWhenShown());
    EXPECT_EQ(store.ReadText("Visible", ""), "0");
}

} // namespace
} // namespace norvale::win32
