#include "win32/display_metrics_win32.h"
#include "win32/program_icons.h"
#include "win32/resources/icon_ids.h"
#include "win32/tray_icon_win32.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvale::win32 {
namespace {

// The width and height of an icon's colour image.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (icon && GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return {bitmap.bmWidth, bitmap.bmHeight};
}

// Whether the notification area still knows the icon: a change is refused for a missing one.
bool IconPresent(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

LRESULT Send(HWND window, UINT mouseMessage) {
    return SendMessageW(window, kTrayCallbackMessage, 0, mouseMessage);
}

// The sizes and colour depths of an icon group in the program's resources.
std::vector<std::pair<int, int>> IconGroup(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)); // group
    if (!found) {
        return {};
    }
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const int count = bytes[4] | bytes[5] << 8;
    std::vector<std::pair<int, int>> entries;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i; // width, height, colours, 0, planes, bit count
        entries.emplace_back(entry[0], entry[6] | entry[7] << 8);
    }
    return entries;
}

// The widths of the images an icon group's entries name, as the system reads them. Images
// that two groups share by mistake show up as the wrong sizes.
std::vector<int> ImageWidths(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));
    if (!found) {
        return {};
    }
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    std::vector<int> widths;
    for (int i = 0; i < (bytes[4] | bytes[5] << 8); ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entry[12] | entry[13] << 8),
                                    MAKEINTRESOURCEW(3)); // RT_ICON
        if (!image) {
            widths.push_back(0);
            continue;
        }
        HICON icon = CreateIconFromResourceEx(
            static_cast<BYTE*>(LockResource(LoadResource(module, image))),
            SizeofResource(module, image), TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
        widths.push_back(IconSize(icon).cx);
        DestroyIcon(icon);
    }
    return widths;
}

TEST(Win32Icons, EachIconGroupNamesImagesOfItsOwnSizes) {
    EXPECT_EQ(ImageWidths(NORVALE_APP_ICON),
              (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
    EXPECT_EQ(ImageWidths(NORVALE_TRAY_ICON), (std::vector<int>{16, 20, 24, 32, 40, 48}));
    EXPECT_EQ(ImageWidths(NORVALE_ALARMS_ICON), (std::vector<int>{16, 20, 24, 32, 40, 48, 64}));
}

// Every small-icon size of 100 % to 300 % for the notification area; the program's own up to
// 256 pixels (written as 0 in the group, as the format has one byte for it).
TEST(Win32Icons, TheTrayIconHasEverySmallIconSizeAndTheProgramsGoesTo256) {
    EXPECT_EQ(IconGroup(NORVALE_TRAY_ICON),
              (std::vector<std::pair<int, int>>{
                  {16, 32}, {20, 32}, {24, 32}, {32, 32}, {40, 32}, {48, 32}}));
    const auto app = IconGroup(NORVALE_APP_ICON);
    ASSERT_EQ(app.size(), 10u);
    EXPECT_EQ(app.front(), (std::pair<int, int>{16, 32}));
    EXPECT_EQ(app.back(), (std::pair<int, int>{0, 32}));
    EXPECT_NE(ProgramIconImage(GetModuleHandleW(nullptr), 48), nullptr);
}

// The image is the one the system metric asks for at the DPI: 16 pixels at 96, 32 at 192.
TEST(Win32Icons, TheTrayImageTakesTheSmallIconSizeOfTheDpi) {
    for (const int dpi : {96, 120, 144, 192}) {
        const OwnedIcon icon = TrayIconImage(GetModuleHandleW(nullptr), dpi);
        ASSERT_NE(icon, nullptr) << dpi;
        const int wanted = SystemMetricForDpi(SM_CXSMICON, dpi);
        EXPECT_EQ(wanted, MulDiv(16, dpi, 96)) << dpi;
        EXPECT_EQ(IconSize(icon.get()).cx, wanted) << dpi;
        EXPECT_EQ(IconSize(icon.get()).cy, wanted) << dpi;
    }
}

class Win32TrayIconTest : public ::testing::Test {
protected:
    TrayIconHandlers Handlers() {
        TrayIconHandlers handlers;
        handlers.OnClick = [this](TMouseButton button, TShiftState, POINT) {
            events.push_back(button == TMouseButton::mbLeft ? "click left" : "click other");
            if (failNextClick) {
                failNextClick = false;
                throw std::runtime_error("broken handler");
            }
        };
        handlers.OnMenuItem = [this](TMenuCommand) { events.push_back("menu"); };
        handlers.OnError = [this](std::string_view text) {
            events.push_back("error " + std::string(text));
        };
        return handlers;
    }

    OwnedIcon image = TrayIconImage(GetModuleHandleW(nullptr), 96);
    std::vector<std::string> events;
    bool failNextClick = false;
};

TEST_F(Win32TrayIconTest, ItsWindowIsAHiddenTopLevelWindow) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    ASSERT_NE(tray.Handle(), nullptr);
    EXPECT_FALSE(IsWindowVisible(tray.Handle()));
    // Top-level, so that it hears broadcasts; a message-only window has another parent.
    EXPECT_EQ(GetAncestor(tray.Handle(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(tray.TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));
}

TEST_F(Win32TrayIconTest, ShowsTheIconOnceLoadedAndRemovesItAtTheEnd) {
    HWND window = nullptr;
    {
        Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
        window = tray.Handle();
        EXPECT_FALSE(IconPresent(window));
        tray.Icon().Loaded();
        EXPECT_TRUE(tray.Icon().Shown());
        EXPECT_TRUE(IconPresent(window));
        tray.Icon().SetActive(false);
        EXPECT_FALSE(IconPresent(window));
        tray.Icon().SetActive(true);
        EXPECT_TRUE(IconPresent(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Win32TrayIconTest, ANewTaskbarGetsTheIconBack) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    tray.Icon().Loaded();
    // As when the shell restarts: the old icon is gone, then the broadcast comes.
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = tray.Handle();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(IconPresent(tray.Handle()));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, tray.TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &result);
    EXPECT_TRUE(IconPresent(tray.Handle()));
}

// A change of display scale brings another image: a shown icon takes it where it is, a hidden
// one stays hidden.
TEST_F(Win32TrayIconTest, AnotherImageReplacesAShownIconAndAddsNoHiddenOne) {
    const OwnedIcon large = TrayIconImage(GetModuleHandleW(nullptr), 192);
    Win32TrayIcon hidden(GetModuleHandleW(nullptr), image.get(), Handlers());
    hidden.SetIconImage(large.get());
    EXPECT_FALSE(IconPresent(hidden.Handle()));
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    tray.Icon().Loaded();
    tray.SetIconImage(large.get());
    EXPECT_TRUE(tray.Icon().Shown());
    EXPECT_TRUE(IconPresent(tray.Handle()));
}

TEST_F(Win32TrayIconTest, MouseMessagesReachTheHandlers) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    Send(tray.Handle(), WM_LBUTTONUP); // went down elsewhere: no click
    Send(tray.Handle(), WM_LBUTTONDOWN);
    Send(tray.Handle(), WM_LBUTTONUP);
    Send(tray.Handle(), WM_MBUTTONDOWN);
    Send(tray.Handle(), WM_MBUTTONUP);
    EXPECT_EQ(events, std::vector<std::string>{"click left"});
}

TEST_F(Win32TrayIconTest, AHandlersErrorIsReportedAndTheNextClickWorks) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    failNextClick = true;
    for (int i = 0; i < 2; ++i) {
        Send(tray.Handle(), WM_LBUTTONDOWN);
        Send(tray.Handle(), WM_LBUTTONUP);
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"click left", "error broken handler", "click left"}));
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

TEST_F(Win32TrayIconTest, ARightClickOpensTheMenuInsteadOfAClick) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    TPopupMenu menu;
    tray.Icon().PopupMenu = &menu;
    SetTimer(nullptr, 0, 200, &CloseMenu);
    Send(tray.Handle(), WM_RBUTTONDOWN);
    Send(tray.Handle(), WM_RBUTTONUP); // returns once the menu is dismissed
    EXPECT_TRUE(events.empty());
}

TEST_F(Win32TrayIconTest, OtherMessagesGetTheDefaultHandling) {
    Win32TrayIcon tray(GetModuleHandleW(nullptr), image.get(), Handlers());
    EXPECT_EQ(SendMessageW(tray.Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
    SetWindowTextW(tray.Handle(), L"abc");
    EXPECT_EQ(SendMessageW(tray.Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_EQ(Send(tray.Handle(), WM_KEYDOWN), 0);
    EXPECT_TRUE(events.empty());
}

} // namespace
} // namespace norvale::win32
