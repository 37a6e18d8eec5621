#include "win32/alarms_form_win32.h"

#include "core/alarms/alarm_display.h"
#include "core/alarms/alarm_text.h"
#include "core/platform/settings_paths.h"
#include "core/shell/screen_placement.h"
#include "core/time/calendar.h"
#include "win32/alarm_editor_win32.h"
#include "win32/date_time_picker_win32.h"
#include "win32/display_metrics_win32.h"
#include "win32/main_window.h"
#include "win32/monitor_layout_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/resources/icon_ids.h"
#include "win32/wide_text.h"

#include <commctrl.h>
#include <commdlg.h>
#include <stdexcept>

namespace norvale::win32 {
namespace {

constexpr int kDesignedLeft = 766;
constexpr int kDesignedTop = 201;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 1000;
constexpr int kNameColumn = 0;
constexpr int kNextColumn = 1;

// The list's check boxes are its items' state images: 1 unchecked, 2 checked.
constexpr UINT kCheckedImage = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUncheckedImage = INDEXTOSTATEIMAGEMASK(1);

HWND List(HWND dialog) {
    return GetDlgItem(dialog, IDC_ALARM_LIST);
}

void SetCellText(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = ToWide(text);
    wchar_t current[256] = {};
    ListView_GetItemText(list, row, column, current, 256);
    if (wide != current) {
        ListView_SetItemText(list, row, column, wide.data());
    }
}

bool IsDatePicker(int id) {
    return id == IDC_ALARM_START || id == IDC_ALARM_END || id == IDC_ALARM_TIME ||
           id == IDC_ALARM_SNOOZE;
}

} // namespace

TfAlarms::TfAlarms(HWND owner, AlarmEditing& alarms, Registry& settings)
    : DialogWindow(owner, IDD_ALARMS), FAlarms(alarms), FSettings(settings) {
    CreateModeless();
    if (!FDialog) {
        throw std::runtime_error("Cannot create the Alarms form");
    }
}

TfAlarms::~TfAlarms() = default;

void TfAlarms::Show() {
    if (!FPlaced) {
        // The first showing puts it where it was left, or at its designed screen place; either
        // way it shows whole on the screens there are now.
        FPlaced = true;
        FStorage->FormShow();
        ::RECT r{};
        GetWindowRect(FDialog, &r);
        if (FPlacement->CentredWhenShown()) {
            OffsetRect(&r, kDesignedLeft - r.left, kDesignedTop - r.top);
        }
        const POINT at =
            FitOnScreen({r.left, r.top, r.right, r.bottom}, Win32MonitorLayout().WorkAreas());
        SetWindowPos(FDialog, nullptr, at.x, at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RefreshList();
    ShowSelected();
    SetTimer(FDialog, kRefreshTimer, kRefreshMs, nullptr);
    ShowWindow(FDialog, SW_SHOW);
    SetForegroundWindow(FDialog);
}

void TfAlarms::Hide() {
    KillTimer(FDialog, kRefreshTimer);
    FStorage->FormCloseQuery(true);
    ShowWindow(FDialog, SW_HIDE);
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

    HWND list = List(FDialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ::RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - client.left - SystemMetricForDpi(SM_CXVSCROLL, scale.Dpi());
    const std::pair<const wchar_t*, int> columns[] = {{L"Name", width / 3},
                                                      {L"Next", width - width / 3}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].first);
        column.cx = columns[i].second;
        ListView_InsertColumn(list, i, &column);
    }
    SetPickerFormat(GetDlgItem(FDialog, IDC_ALARM_TIME), L"H:mm:ss");
    SetPickerFormat(GetDlgItem(FDialog, IDC_ALARM_SNOOZE), L"mm:ss");
    HWND units = GetDlgItem(FDialog, IDC_ALARM_EVERY_UNIT);
    for (const std::string_view unit : kEveryUnitNames) {
        SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(unit).c_str()));
    }
    SendDlgItemMessageW(FDialog, IDC_ALARM_EVERY, EM_SETLIMITTEXT, 4, 0);

    FPlacement = std::make_unique<Win32PlacementWindow>(FDialog, false, true);
    // Only the window's place is kept here; the alarms have subkeys of the same key.
    FStorage = std::make_unique<TFormStorage>(FSettings, *FPlacement, ".");
    FStorage->IniFileName = std::string(kMainSettingsPath);
    FStorage->IniSection = "Alarms";
    FStorage->Options = fpPosition;
    ShowSelected();
}

bool TfAlarms::OnCommand(int id) {
    return OnControlCommand(id, BN_CLICKED);
}

bool TfAlarms::OnControlCommand(int id, int code) {
    if (FUpdating) {
        return false;
    }
    switch (id) {
    case IDCANCEL:
        Hide();
        return true;
    case IDC_ALARM_ADD:
        AddAlarm();
        return true;
    case IDC_ALARM_DELETE:
        DeleteAlarm();
        return true;
    case IDC_ALARM_BROWSE:
        ChooseSound();
        return true;
    case IDC_ALARM_BEEP:
        SetSound("");
        return true;
    case IDC_ALARM_NAME:
    case IDC_ALARM_EVERY:
        if (code == EN_CHANGE) {
            ApplySettings();
        }
        return code == EN_CHANGE;
    case IDC_ALARM_EVERY_UNIT:
        if (code == CBN_SELCHANGE) {
            ApplySettings();
        }
        return code == CBN_SELCHANGE;
    default:
        break;
    }
    if (code != BN_CLICKED) {
        return false;
    }
    if (!FollowAllBox(FDialog, id)) {
        FollowDateBoxes(FDialog);
    }
    ApplySettings();
    return true;
}

bool TfAlarms::OnNotify(const NMHDR& notice) {
    if (FUpdating) {
        return false;
    }
    if (IsDatePicker(static_cast<int>(notice.idFrom)) && notice.code == DTN_DATETIMECHANGE) {
        ApplySettings();
        return true;
    }
    if (notice.idFrom != IDC_ALARM_LIST || notice.code != LVN_ITEMCHANGED) {
        return false;
    }
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
    if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) {
        return false;
    }
    const UINT images = (change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK;
    if (images != 0 && (change.uOldState & LVIS_STATEIMAGEMASK) != 0) {
        SwitchAlarm(static_cast<std::size_t>(change.iItem),
                    (change.uNewState & LVIS_STATEIMAGEMASK) == kCheckedImage);
    }
    if ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) {
        ShowSelected();
    }
    return true;
}

void TfAlarms::OnTimer(UINT_PTR id) {
    if (id == kRefreshTimer) {
        RefreshList();
    }
}

void TfAlarms::OnDestroy() {
    if (IsWindowVisible(FDialog)) {
        FStorage->FormCloseQuery(true);
    }
}

void TfAlarms::RefreshList() {
    HWND list = List(FDialog);
    const std::vector<TScheduledAlarm>& alarms = FAlarms.EditedAlarms();
    FUpdating = true;
    while (ListView_GetItemCount(list) > static_cast<int>(alarms.size())) {
        ListView_DeleteItem(list, ListView_GetItemCount(list) - 1);
    }
    while (ListView_GetItemCount(list) < static_cast<int>(alarms.size())) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertItem(list, &item);
    }
    for (std::size_t i = 0; i < alarms.size(); ++i) {
        const int row = static_cast<int>(i);
        SetCellText(list, row, kNameColumn, AlarmTitle(alarms[i].Alarm));
        SetCellText(list, row, kNextColumn, NextAlarmText(alarms[i], FAlarms.DisplayFormat()));
        if ((ListView_GetCheckState(list, row) != FALSE) != alarms[i].Alarm.Enabled) {
            ListView_SetCheckState(list, row, alarms[i].Alarm.Enabled ? TRUE : FALSE);
        }
    }
    FUpdating = false;
}

void TfAlarms::Select(int row) {
    HWND list = List(FDialog);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

std::optional<std::size_t> TfAlarms::Selected() const {
    const int row = ListView_GetNextItem(List(FDialog), -1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= FAlarms.EditedAlarms().size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

void TfAlarms::ShowSelected() {
    const std::optional<std::size_t> index = Selected();
    const DateTime now = FAlarms.LocalNow();
    FFirstYear = DecodeDate(now).Year;
    FUpdating = true;
    ShowAlarmSettings(FDialog, index ? FAlarms.EditedAlarms()[*index].Alarm : TAlarm{}, FFirstYear,
                      now);
    EnableAlarmSettings(FDialog, index.has_value());
    FUpdating = false;
}

void TfAlarms::ApplySettings() {
    const std::optional<std::size_t> index = Selected();
    if (!index) {
        return;
    }
    const TAlarm& shown = FAlarms.EditedAlarms()[*index].Alarm;
    TAlarm alarm = ReadAlarmSettings(FDialog, shown, FFirstYear);
    if (AnchorDateSteps(alarm, FAlarms.LocalNow())) {
        FUpdating = true;
        CheckDlgButton(FDialog, IDC_ALARM_START_ON, BST_CHECKED);
        FollowDateBoxes(FDialog);
        FUpdating = false;
    }
    if (alarm == shown) {
        return;
    }
    FAlarms.ChangeAlarm(*index, std::move(alarm));
    RefreshList();
}

void TfAlarms::AddAlarm() {
    FAlarms.AddAlarm(NewAlarm(FAlarms.LocalNow(), FAlarms.EditedAlarms()));
    RefreshList();
    Select(ListView_GetItemCount(List(FDialog)) - 1);
    HWND name = GetDlgItem(FDialog, IDC_ALARM_NAME);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
}

void TfAlarms::DeleteAlarm() {
    const std::optional<std::size_t> index = Selected();
    if (!index) {
        return;
    }
    const std::string name = AlarmTitle(FAlarms.EditedAlarms()[*index].Alarm);
    const std::wstring question = L"Delete the alarm \"" + ToWide(name) + L"\"?";
    if (MessageBoxW(FDialog, question.c_str(), kAppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    FAlarms.RemoveAlarm(*index);
    RefreshList();
    const int count = ListView_GetItemCount(List(FDialog));
    if (count > 0) {
        Select(std::min(static_cast<int>(*index), count - 1));
    }
    ShowSelected();
}

void TfAlarms::ChooseSound() {
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = FDialog;
    open.lpstrFilter = L"Sounds (*.mp3, *.wav)\0*.mp3;*.wav\0";
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.lpstrTitle = L"Sound of the alarm";
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&open)) {
        SetSound(ToUtf8(file));
    }
}

void TfAlarms::SetSound(std::string sound) {
    const std::optional<std::size_t> index = Selected();
    if (!index) {
        return;
    }
    TAlarm alarm = FAlarms.EditedAlarms()[*index].Alarm;
    alarm.Sound = std::move(sound);
    ShowSound(FDialog, alarm.Sound);
    FAlarms.ChangeAlarm(*index, std::move(alarm));
}

void TfAlarms::SwitchAlarm(std::size_t index, bool enabled) {
    if (index >= FAlarms.EditedAlarms().size()) {
        return;
    }
    TAlarm alarm = FAlarms.EditedAlarms()[index].Alarm;
    if (alarm.Enabled == enabled) {
        return;
    }
    alarm.Enabled = enabled;
    FAlarms.ChangeAlarm(index, std::move(alarm));
    RefreshList();
}

} // namespace norvale::win32
