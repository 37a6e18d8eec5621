#include "core/time/calendar.h"
#include "dialog_driver.h"
#include "win32/countdown_dialog_win32.h"
#include "win32/date_time_picker_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/system_clock_win32.h"

#include <cmath>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>

namespace norvale::win32 {
namespace {

using testing::ModalDriver;
using testing::PressKey;

DateTime At(int year, int month, int day, int hour, int minute, int second) {
    return *EncodeDate(year, month, day) + *EncodeTime(hour, minute, second, 0);
}

::SIZE ClientSize(HWND window) {
    ::RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// What a person sees in a picker, and a value entered into it.
DateTime Shown(HWND dialog, int id) {
    return ReadPickerValue(GetDlgItem(dialog, id)).value_or(-1);
}
void Enter(HWND dialog, int id, DateTime value) {
    ShowPickerValue(GetDlgItem(dialog, id), value);
}

TEST(Win32CountdownDialog, ShowsTheTargetAndTakesTheEnteredOneOnEnter) {
    Win32CountdownDialog dialog(nullptr);
    dialog.SetCountdownTarget(At(2026, 12, 25, 18, 30, 0));
    ::SIZE client{};
    LONG_PTR exStyle = 0;
    DateTime shownDate = 0;
    DateTime shownTime = 0;
    std::vector<int> tabOrder;
    LOGFONTW font{};
    ModalDriver driver([&] { return dialog.Handle(); },
                       [&](HWND window) {
                           client = ClientSize(window);
                           exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
                           GetObjectW(
                               reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)),
                               sizeof font, &font);
                           shownDate = Shown(window, IDC_DATE);
                           shownTime = Shown(window, IDC_TIME);
                           HWND control = GetFocus();
                           for (int i = 0; i < 5; ++i) {
                               tabOrder.push_back(GetDlgCtrlID(control));
                               control = GetNextDlgTabItem(window, control, FALSE);
                           }
                           // Each picker is given a whole value; it takes only its own half.
                           Enter(window, IDC_DATE, At(2027, 1, 2, 3, 4, 5));
                           Enter(window, IDC_TIME, At(1999, 5, 5, 7, 8, 9));
                           PressKey(VK_RETURN);
                       });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(client.cx, 273);
    EXPECT_EQ(client.cy, 136);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(std::floor(shownDate), *EncodeDate(2026, 12, 25));
    EXPECT_NEAR(shownTime - std::floor(shownTime), *EncodeTime(18, 30, 0, 0), kOneMillisecond);
    EXPECT_EQ(tabOrder, (std::vector<int>{IDOK, IDCANCEL, IDC_TIME, IDC_DATE, IDOK}));
    EXPECT_NEAR(dialog.GetCountdownTarget(), At(2027, 1, 2, 7, 8, 9), kOneMillisecond);
}

TEST(Win32CountdownDialog, EscapeCancelsAndKeepsTheTarget) {
    Win32CountdownDialog dialog(nullptr);
    const DateTime target = At(2026, 12, 25, 18, 30, 0);
    dialog.SetCountdownTarget(target);
    ::RECT placed{};
    ModalDriver driver([&] { return dialog.Handle(); },
                       [&](HWND window) {
                           GetWindowRect(window, &placed);
                           Enter(window, IDC_DATE, At(2030, 1, 1, 0, 0, 0));
                           PressKey(VK_ESCAPE);
                       });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_DOUBLE_EQ(dialog.GetCountdownTarget(), target);
    // Centred on the screen, to the pixel that integer halves allow.
    EXPECT_LE(std::abs(placed.left + placed.right - GetSystemMetrics(SM_CXSCREEN)), 1);
    EXPECT_LE(std::abs(placed.top + placed.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);
}

TEST(Win32CountdownDialog, ATargetNeverSetOpensOnTodayAtMidnight) {
    const DateTime today = std::floor(Win32SystemClock().Now());
    Win32CountdownDialog dialog(nullptr);
    dialog.SetCountdownTarget(0);
    DateTime shownDate = 0;
    DateTime shownTime = -1;
    ModalDriver driver([&] { return dialog.Handle(); },
                       [&](HWND window) {
                           shownDate = Shown(window, IDC_DATE);
                           shownTime = Shown(window, IDC_TIME);
                           PressKey(VK_RETURN);
                       });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    // Run just before midnight, the dialog may already see the next day.
    EXPECT_GE(std::floor(shownDate), today);
    EXPECT_LE(std::floor(shownDate), today + 1);
    EXPECT_NEAR(shownTime - std::floor(shownTime), 0, kOneMillisecond);
    EXPECT_DOUBLE_EQ(dialog.GetCountdownTarget(), std::floor(shownDate));
}

} // namespace
} // namespace norvale::win32
