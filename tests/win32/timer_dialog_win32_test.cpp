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
