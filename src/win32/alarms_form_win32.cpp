#include "win32/alarms_form_win32.h"

#include "core/shell/screen_placement.h"
#include "win32/date_time_picker_win32.h"
#include "win32/display_metrics_win32.h"
#include "win32/monitor_layout_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/resources/icon_ids.h"

#include <stdexcept>

namespace norvale::win32 {
namespace {

constexpr int kLeft = 766;
constexpr int kTop = 201;
constexpr int kWidth = 551;
constexpr int kHeight = 537;

constexpr const wchar_t* kEveryUnits[] = {L"Year", L"Month", L"Week",   L"Day Of Week",
                                          L"Day",  L"Hour",  L"Minute", L"Second"};

} // namespace

TfAlarms::TfAlarms(HWND owner) : DialogWindow(owner, IDD_ALARMS) {
    CreateModeless();
    if (!FDialog) {
        throw std::runtime_error("Cannot create the Alarms form");
    }
}

void TfAlarms::Show() {
    ShowWindow(FDialog, SW_SHOW);
    SetForegroundWindow(FDialog);
}

void TfAlarms::OnInitDialog() {
    HINSTANCE program = GetModuleHandleW(nullptr);
    const DisplayScale scale = WindowScale(FDialog);
    const auto icon = [&](int metric) {
        const int size = SystemMetricForDpi(metric, scale.Dpi());
        return reinterpret_cast<LPARAM>(LoadImageW(program, MAKEINTRESOURCEW(NORVALE_ALARMS_ICON),
                                                   IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(FDialog, WM_SETICON, ICON_BIG, icon(SM_CXICON));
    SendMessageW(FDialog, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON));
    // The designed place is a screen position, kept as it is; the grown form still shows whole.
    const RECT placed{kLeft, kTop, kLeft + scale.Length(kWidth), kTop + scale.Length(kHeight)};
    const POINT at = FitOnScreen(placed, Win32MonitorLayout().WorkAreas());
    SetWindowPos(FDialog, nullptr, at.x, at.y, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetPickerFormat(GetDlgItem(FDialog, IDC_ALARM_TIME), L"H:mm:ss");
    SetDlgItemTextW(FDialog, IDC_ALARM_EVERY, L"1");
    HWND units = GetDlgItem(FDialog, IDC_ALARM_EVERY_UNIT);
    for (const wchar_t* unit : kEveryUnits) {
        SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
    }
    SendMessageW(units, CB_SETCURSEL, 0, 0);
}

bool TfAlarms::OnCommand(int id) {
    if (id != IDCANCEL) {
        return false;
    }
    ShowWindow(FDialog, SW_HIDE);
    return true;
}

} // namespace norvale::win32
