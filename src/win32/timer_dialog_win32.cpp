#include "win32/timer_dialog_win32.h"

#include "win32/date_time_picker_win32.h"
#include "win32/resources/dialog_ids.h"

#include <array>

namespace norvale::win32 {
namespace {

constexpr int kClientWidth = 241;
constexpr int kClientHeight = 145;

constexpr std::array<ControlPlace, 7> kLayout{{
    {IDC_TIME_LABEL, 16, 40, 0, 0},
    {IDC_BEVEL, 8, 104, 217, 2},
    {IDC_TITLE, 9, 0, 90, 38},
    {IDC_TIME, 16, 56, 161, 21},
    {IDOK, 76, 116, 75, 25},
    {IDCANCEL, 164, 116, 75, 25},
    {IDC_AUTO_START, 16, 80, 97, 17},
}};

} // namespace

Win32TimerDialog::Win32TimerDialog(HWND owner, Registry& registry)
    : DialogWindow(owner, IDD_TIMER), FRegistry(registry) {}

int Win32TimerDialog::ShowModal() {
    const int result = RunModal();
    FormStorage1.reset();
    FPlacement.reset();
    return result;
}

bool Win32TimerDialog::AutoStartChecked() const {
    return IsDlgButtonChecked(FDialog, IDC_AUTO_START) == BST_CHECKED;
}

void Win32TimerDialog::SetAutoStartChecked(bool checked) {
    CheckDlgButton(FDialog, IDC_AUTO_START, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32TimerDialog::OnInitDialog() {
    SetClientSize(FDialog, kClientWidth, kClientHeight);
    PlaceControls(FDialog, kLayout);
    SetPickerFormat(GetDlgItem(FDialog, IDC_TIME), L"HH:mm:ss");
    ShowPickerValue(GetDlgItem(FDialog, IDC_TIME), FTime.GetDateTime());
    SetAutoStartChecked(FAutoStart);

    FCloseSaved = false;
    FPlacement = std::make_unique<Win32PlacementWindow>(FDialog, false, true);
    // Only a boolean is stored, so the decimal separator is never used.
    FormStorage1 = std::make_unique<TFormStorage>(FRegistry, *FPlacement, ".");
    FormStorage1->IniFileName = "Software\\Brannick\\TarvexClock";
    FormStorage1->IniSection = "Timer";
    FormStorage1->Options = fpPosition;
    FormStorage1->Active = true;
    FormStorage1->StoredProps.push_back(TStoredProperty::Boolean(
        "cbAutoStart", "Checked", [this] { return AutoStartChecked(); },
        [this](bool checked) { SetAutoStartChecked(checked); }));
    FormStorage1->FormShow();
    // A stored place wins over centring on the screen.
    if (FPlacement->CentredWhenShown()) {
        CentreOnScreen(FDialog);
    }
}

bool Win32TimerDialog::OnCommand(int id) {
    if (id != IDOK && id != IDCANCEL) {
        return false;
    }
    FAutoStart = AutoStartChecked();
    if (id == IDOK) {
        if (const auto time = ReadPickerValue(GetDlgItem(FDialog, IDC_TIME))) {
            FTime.SetTime(*time);
        }
    }
    // A save that fails is reported once and the dialog closes all the same (DialogWindow).
    FCloseSaved = true;
    FormStorage1->FormCloseQuery(true);
    EndDialog(FDialog, id);
    return true;
}

void Win32TimerDialog::OnDestroy() {
    if (FormStorage1 && !FCloseSaved) {
        FormStorage1->FormDestroy();
    }
}

} // namespace norvale::win32
