#include "win32/registry_time_zones.h"
#include "win32/wide_text.h"
#include "win32/world_clock_dialog_win32.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace norvale::win32 {
namespace {

// Runs an action on the World Clock dialog once it is up, from inside its modal loop.
std::function<void(HWND)> gOnDialog;

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"World Clock");
    if (!dialog || !gOnDialog) {
        return;
    }
    KillTimer(nullptr, timer);
    std::exchange(gOnDialog, nullptr)(dialog);
}

int ShowWith(Win32WorldClockDialog& dialog, std::function<void(HWND)> action) {
    gOnDialog = std::move(action);
    SetTimer(nullptr, 0, 50, &ActOnDialog);
    return dialog.ShowModal();
}

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The user picks a list item with the mouse.
void PickZone(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, Win32WorldClockDialog::kListZonesId);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Win32WorldClockDialog::kListZonesId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

HWND LabelBox(HWND dialog) {
    return GetDlgItem(dialog, Win32WorldClockDialog::kClockLabelId);
}

int ZoneWith(std::string_view part) {
    const TVeskRegistryTimeZones& zones = RegistryTimeZones();
    for (int i = 0; i < zones.ZoneCount(); ++i) {
        if (zones.ZoneAt(i).DisplayName.find(part) != std::string::npos) {
            return i;
        }
    }
    return -1;
}

TEST(Win32WorldClockDialog, ListsTheZonesAtItsDesignedPlaceAndSize) {
    const TVeskRegistryTimeZones& zones = RegistryTimeZones();
    ASSERT_GT(zones.ZoneCount(), 100);
    Win32WorldClockDialog dialog(GetDesktopWindow(), zones);
    const int gmt = zones.IndexOfZoneId("GMT Standard Time");
    dialog.SelectZone(gmt);
    dialog.SetClockLabel("Time");
    const int result = ShowWith(dialog, [&](HWND window) {
        HWND list = GetDlgItem(window, Win32WorldClockDialog::kListZonesId);
        EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), zones.ZoneCount());
        for (const int i : {0, gmt, zones.ZoneCount() - 1}) {
            wchar_t item[256] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            EXPECT_EQ(ToUtf8(item), zones.ZoneAt(i).DisplayName);
        }
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), gmt);
        EXPECT_EQ(Text(LabelBox(window)), L"Time"); // the current label, not the first word
        ::RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 320);
        EXPECT_EQ(client.bottom, 219);
        ::RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, 255);
        EXPECT_EQ(frame.top, 216);
        EXPECT_EQ(Text(GetDlgItem(window, IDOK)), L"OK");
        EXPECT_EQ(Text(GetDlgItem(window, IDCANCEL)), L"Cancel");
        EXPECT_EQ(Text(GetDlgItem(window, Win32WorldClockDialog::kResetId)), L"Reset");
        PickZone(window, ZoneWith("Eastern Time"));
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, mrCancel);
}

TEST(Win32WorldClockDialog, AChosenZoneAndItsFirstPlaceComeBackWithOk) {
    Win32WorldClockDialog dialog(GetDesktopWindow(), RegistryTimeZones());
    const int eastern = ZoneWith("Eastern Time (US & Canada)");
    ASSERT_GE(eastern, 0);
    dialog.SelectZone(-1);
    dialog.SetClockLabel("Time");
    const int result = ShowWith(dialog, [&](HWND window) {
        EXPECT_EQ(SendMessageW(LabelBox(window), CB_GETCOUNT, 0, 0), 0);
        PickZone(window, eastern);
        EXPECT_EQ(Text(LabelBox(window)), L"Eastern");
        EXPECT_EQ(SendMessageW(LabelBox(window), CB_GETCOUNT, 0, 0), 5);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog.SelectedZone(), eastern);
    EXPECT_EQ(dialog.GetClockLabel(), "Eastern");
}

TEST(Win32WorldClockDialog, ResetThenOkMeansNoZoneUnderClock) {
    Win32WorldClockDialog dialog(GetDesktopWindow(), RegistryTimeZones());
    dialog.SelectZone(ZoneWith("Amsterdam"));
    const int result = ShowWith(dialog, [](HWND window) {
        Click(window, Win32WorldClockDialog::kResetId);
        EXPECT_EQ(SendMessageW(GetDlgItem(window, Win32WorldClockDialog::kListZonesId),
                               LB_GETCURSEL, 0, 0),
                  LB_ERR);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog.SelectedZone(), -1);
    EXPECT_EQ(dialog.GetClockLabel(), "Clock");
}

TEST(Win32WorldClockDialog, ATypedLabelIsTakenAsItStands) {
    Win32WorldClockDialog dialog(GetDesktopWindow(), RegistryTimeZones());
    dialog.SelectZone(RegistryTimeZones().ZoneCount()); // past the end: nothing selected
    dialog.SetClockLabel("Time");
    const int result = ShowWith(dialog, [](HWND window) {
        SetWindowTextW(LabelBox(window), L" Home \x00e9");
        Click(window, IDOK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog.SelectedZone(), -1);
    EXPECT_EQ(dialog.GetClockLabel(), " Home \xC3\xA9");
}

TEST(Win32WorldClockDialog, ClosingTheWindowCancels) {
    Win32WorldClockDialog dialog(GetDesktopWindow(), RegistryTimeZones());
    dialog.SetClockLabel("Time");
    const int result = ShowWith(dialog, [](HWND window) {
        SetWindowTextW(LabelBox(window), L"changed");
        SendMessageW(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(dialog.GetClockLabel(), "Time");
}

} // namespace
} // namespace norvale::win32
