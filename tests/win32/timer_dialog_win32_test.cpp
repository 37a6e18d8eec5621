#include "core/time/calendar.h"
#include "dialog_driver.h"
#include "support/fake_registry.h"
#include "win32/date_time_picker_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/timer_dialog_win32.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace norvale::win32 {
namespace {

using testing::ModalDriver;
using testing::PressKey;

constexpr std::string_view kTimerKey = "Software\\Brannick\\TarvexClock\\Timer";

struct Seen {
    ::SIZE Client{};
    ::RECT Window{};
    bool AutoStart = false;
    DateTime Time = -1;
};

Seen Look(HWND window) {
    Seen seen;
    ::RECT client{};
    GetClientRect(window, &client);
    seen.Client = {client.right, client.bottom};
    GetWindowRect(window, &seen.Window);
    seen.AutoStart = IsDlgButtonChecked(window, IDC_AUTO_START) == BST_CHECKED;
    seen.Time = ReadPickerValue(GetDlgItem(window, IDC_TIME)).value_or(-1);
    return seen;
}

// Closes the error report once it shows and keeps its text.
std::wstring gReported;
void CALLBACK CloseErrorReport(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = testing::FindThreadWindow(L"Norvale Time Clock");
    if (!box) {
        return;
    }
    KillTimer(nullptr, timer);
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    gReported = text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class Win32TimerDialogTest : public ::testing::Test {
protected:
    // Shows a new dialog, looks at it, lets act() work on it, and returns the modal result.
    int Run(Win32TimerDialog& dialog, const std::function<void(HWND)>& act) {
        ModalDriver driver([&] { return dialog.Handle(); },
                           [&](HWND window) {
                               seen = Look(window);
                               act(window);
                           });
        return dialog.ShowModal();
    }

    norvale::testing::FakeRegistry registry;
    Seen seen;
};

TEST_F(Win32TimerDialogTest, TakesTheEnteredTimeOfDayOnTheDurationsDate) {
    Win32TimerDialog dialog(nullptr, registry);
    dialog.SetTimerDuration(90 * kOneSecond);
    const int result = Run(dialog, [](HWND window) {
        ShowPickerValue(GetDlgItem(window, IDC_TIME),
                        *EncodeDate(2026, 12, 8) + *EncodeTime(0, 0, 3, 0));
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(seen.Client.cx, 241);
    EXPECT_EQ(seen.Client.cy, 145);
    EXPECT_TRUE(seen.AutoStart); // checked before anything was stored
    EXPECT_NEAR(seen.Time - std::floor(seen.Time), 90 * kOneSecond, kOneMillisecond);
    EXPECT_NEAR(dialog.GetTimerDuration(), 3 * kOneSecond, kOneMillisecond);
    EXPECT_TRUE(dialog.GetAutoStart());
}

TEST_F(Win32TimerDialogTest, ArrowKeysEditTheTimeOfDayOnly) {
    Win32TimerDialog dialog(nullptr, registry);
    dialog.SetTimerDuration(1.0 + 10 * kOneSecond);
    const int result = Run(dialog, [](HWND window) {
        // A click on the hour field selects it; the down arrow steps it back.
        HWND picker = GetDlgItem(window, IDC_TIME);
        PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 10));
        PostMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(8, 10));
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(result, mrOk);
    // 00:00:10 stepped down an hour is 23:00:10 on the same day: never more than a day.
    EXPECT_NEAR(dialog.GetTimerDuration(), 1.0 + *EncodeTime(23, 0, 10, 0), kOneMillisecond);
}

TEST_F(Win32TimerDialogTest, AutoStartAndPlaceSurviveIntoTheNextDialog) {
    Win32TimerDialog first(nullptr, registry);
    const int firstResult = Run(first, [](HWND window) {
        SendDlgItemMessageW(window, IDC_AUTO_START, BM_CLICK, 0, 0);
        SetWindowPos(window, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(firstResult, mrCancel);
    EXPECT_FALSE(first.GetAutoStart());
    // Its first showing is centred on the screen.
    EXPECT_LE(std::abs(seen.Window.left + seen.Window.right - GetSystemMetrics(SM_CXSCREEN)), 1);
    const auto* stored =
        registry.GetValue(RegistryRoot::CurrentUser, kTimerKey, "cbAutoStart_Checked");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Data, "False");

    Win32TimerDialog second(nullptr, registry);
    const int secondResult = Run(second, [](HWND) { PressKey(VK_RETURN); });
    EXPECT_EQ(secondResult, mrOk);
    EXPECT_FALSE(seen.AutoStart);
    EXPECT_FALSE(second.GetAutoStart());
    EXPECT_EQ(seen.Window.left, 100);
    EXPECT_EQ(seen.Window.top, 120);
}

// Settings that cannot be saved must not keep the dialog open: the failure is reported and
// the dialog closes with the button pressed.
TEST_F(Win32TimerDialogTest, AFailedSaveIsReportedAndTheDialogStillCloses) {
    Win32TimerDialog dialog(nullptr, registry);
    dialog.SetTimerDuration(90 * kOneSecond);
    gReported.clear();
    const int result = Run(dialog, [&](HWND window) {
        registry.FailWrites = true;
        ShowPickerValue(GetDlgItem(window, IDC_TIME), *EncodeTime(0, 0, 5, 0));
        SetTimer(nullptr, 0, 20, &CloseErrorReport);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_NEAR(dialog.GetTimerDuration(), 5 * kOneSecond, kOneMillisecond);
    EXPECT_EQ(gReported.substr(0, 7), L"Failed ");
    EXPECT_EQ(gReported.back(), L'.');
}

TEST_F(Win32TimerDialogTest, TheTabOrderRunsFromTheTimeToTheCheckBox) {
    Win32TimerDialog dialog(nullptr, registry);
    std::vector<int> order;
    const int result = Run(dialog, [&](HWND window) {
        HWND control = GetFocus();
        for (int i = 0; i < 5; ++i) {
            order.push_back(GetDlgCtrlID(control));
            control = GetNextDlgTabItem(window, control, FALSE);
        }
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(order, (std::vector<int>{IDC_TIME, IDOK, IDCANCEL, IDC_AUTO_START, IDC_TIME}));
}

} // namespace
} // namespace norvale::win32
