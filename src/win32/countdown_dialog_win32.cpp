#include "win32/countdown_dialog_win32.h"

#include "win32/date_time_picker_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/system_clock_win32.h"

#include <array>

namespace norvale::win32 {
namespace {

constexpr int kClientWidth = 273;
constexpr int kClientHeight = 136;

constexpr std::array<ControlPlace, 8> kLayout{{
    {IDC_DATE_LABEL, 8, 40, 0, 0},
    {IDC_TIME_LABEL, 152, 40, 0, 0},
    {IDC_BEVEL, 8, 88, 241, 2},
    {IDC_TITLE, 9, 0, 240, 38},
    {IDOK, 105, 104, 75, 25},
    {IDCANCEL, 193, 104, 75, 25},
    {IDC_TIME, 152, 56, 105, 21},
    {IDC_DATE, 8, 56, 145, 21},
}};

} // namespace

Win32CountdownDialog::Win32CountdownDialog(HWND owner)
    : DialogWindow(owner, IDD_COUNTDOWN), FPickers(Win32SystemClock().Now()) {}

void Win32CountdownDialog::OnInitDialog() {
    SetClientSize(FDialog, kClientWidth, kClientHeight);
    PlaceControls(FDialog, kLayout);
    CentreOnScreen(FDialog);
    SetWindowPos(FDialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetPickerFormat(GetDlgItem(FDialog, IDC_TIME), L"H:mm:ss");
    ShowPickerValue(GetDlgItem(FDialog, IDC_DATE), FPickers.dtpDate.GetDateTime());
    ShowPickerValue(GetDlgItem(FDialog, IDC_TIME), FPickers.dtpTime.GetDateTime());
}

bool Win32CountdownDialog::OnCommand(int id) {
    if (id != IDOK && id != IDCANCEL) {
        return false;
    }
    if (id == IDOK) {
        if (const auto date = ReadPickerValue(GetDlgItem(FDialog, IDC_DATE))) {
            FPickers.dtpDate.SetDate(*date);
        }
        if (const auto time = ReadPickerValue(GetDlgItem(FDialog, IDC_TIME))) {
            FPickers.dtpTime.SetTime(*time);
        }
    }
    EndDialog(FDialog, id);
    return true;
}

} // namespace norvale::win32
