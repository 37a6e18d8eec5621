#include "dialog_driver.h"
#include "win32/alarms_form_win32.h"
#include "win32/error_report_win32.h"
#include "win32/resources/dialog_ids.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace norvale::win32 {
namespace {

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST(TfAlarms, IsMadeHiddenShownOnRequestAndOnlyHiddenByClosing) {
    TfAlarms form(nullptr);
    HWND window = form.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Text(window), L"Alarms");

    form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    // At its designed place, 766, 201, as far as the screen has room for it there: a work
    // area as small as the tests' 1024 x 768 takes it just inside its right edge.
    ::RECT r{};
    GetWindowRect(window, &r);
    ::RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, std::min(766L, work.right - 551));
    EXPECT_EQ(r.top, std::min(201L, work.bottom - 537));
    EXPECT_EQ(r.right - r.left, 551);
    EXPECT_EQ(r.bottom - r.top, 537);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);

    HWND units = GetDlgItem(window, IDC_ALARM_EVERY_UNIT);
    EXPECT_EQ(SendMessageW(units, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(SendMessageW(units, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(units), L"Year");
    EXPECT_EQ(Text(GetDlgItem(window, IDC_ALARM_EVERY)), L"1");

    // All the check boxes start unchecked: 10 years, 13 months, 6 weeks, 8 days of the
    // week and 32 days.
    int boxes = 0;
    int checked = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) &&
            (GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            ++boxes;
            checked += SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        }
    }
    EXPECT_EQ(boxes, 69);
    EXPECT_EQ(checked, 0);

    // NOTE: the dialog manager answers WM_CLOSE by posting the Cancel command.
    SendMessageW(window, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST(ShowErrorReport, ShowsTheTextWithItsFullStopUnderTheApplicationsTitle) {
    std::wstring text;
    testing::ModalDriver driver([] { return testing::FindThreadWindow(L"Norvale Time Clock"); },
                                [&](HWND box) {
                                    text = Text(GetDlgItem(box, 0xFFFF));
                                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                                });
    ShowErrorReport(nullptr, "Socket Error # 10060");
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(text, L"Socket Error # 10060.");
}

} // namespace
} // namespace norvale::win32
