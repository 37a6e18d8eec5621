#include "win32/alarm_editor_win32.h"

#include "core/alarms/alarm_editing.h"
#include "core/time/time_parts.h"
#include "win32/date_time_picker_win32.h"
#include "win32/resources/dialog_ids.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace norvale::win32 {
namespace {

// A panel of check boxes: the "All" box, then one box per value, value v at the "All" box's
// id + v - First + 1.
struct Panel {
    int AllId = 0;
    int First = 0;
    int Last = 0;

    int BoxOf(int value) const { return AllId + value - First + 1; }
    bool Owns(int id) const { return id >= AllId && id <= BoxOf(Last); }
};

constexpr Panel kMonths{IDC_MONTH_ALL, 1, 12};
constexpr Panel kWeeks{IDC_WEEK_ALL, 1, kLastWeek};
constexpr Panel kWeekDays{IDC_WEEKDAY_ALL, 1, 7};
constexpr Panel kDays{IDC_DAY_ALL, 1, 31};
constexpr std::array kPanels{Panel{IDC_YEAR_ALL, 1, kYearsShown}, kMonths, kWeeks, kWeekDays,
                             kDays};

constexpr wchar_t kBeepName[] = L"(the clock's beep)";

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// Checks a panel's boxes: every one under "All", else those `has` names; only the "All" box
// can be changed while it is checked.
template <class Has>
void ShowPanel(HWND dialog, const Panel& panel, bool all, Has&& has) {
    Check(dialog, panel.AllId, all);
    for (int value = panel.First; value <= panel.Last; ++value) {
        Check(dialog, panel.BoxOf(value), all || has(value));
        EnableWindow(GetDlgItem(dialog, panel.BoxOf(value)), all ? FALSE : TRUE);
    }
}

void ShowValueSet(HWND dialog, const Panel& panel, const TValueSet& set) {
    ShowPanel(dialog, panel, set.All, [&](int value) { return set.Has(value); });
}

TValueSet ReadValueSet(HWND dialog, const Panel& panel) {
    if (Checked(dialog, panel.AllId)) {
        return {};
    }
    TValueSet set{false, 0};
    for (int value = panel.First; value <= panel.Last; ++value) {
        set.Set(value, Checked(dialog, panel.BoxOf(value)));
    }
    return set;
}

void ShowDate(HWND dialog, int boxId, int pickerId, const std::optional<long long>& day,
              DateTime today) {
    Check(dialog, boxId, day.has_value());
    ShowPickerValue(GetDlgItem(dialog, pickerId), day ? static_cast<double>(*day) : today);
}

std::optional<long long> ReadDate(HWND dialog, int boxId, int pickerId) {
    const std::optional<DateTime> value = ReadPickerValue(GetDlgItem(dialog, pickerId));
    if (!Checked(dialog, boxId) || !value) {
        return std::nullopt;
    }
    return static_cast<long long>(std::floor(*value));
}

std::optional<int> ReadSecondsOfDay(HWND dialog, int pickerId) {
    const std::optional<DateTime> value = ReadPickerValue(GetDlgItem(dialog, pickerId));
    if (!value) {
        return std::nullopt;
    }
    const TimeParts time = DecodeTimeParts(*value);
    return (time.Hour * 60 + time.Minute) * 60 + time.Second;
}

std::wstring ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

} // namespace

void ShowAlarmSettings(HWND dialog, const TAlarm& alarm, int firstYear, DateTime today) {
    const TAlarmRule& rule = alarm.Rule;
    SetDlgItemTextW(dialog, IDC_ALARM_NAME, ToWide(alarm.Name).c_str());
    const Panel& years = kPanels[0];
    for (int n = years.First; n <= years.Last; ++n) {
        SetDlgItemTextW(dialog, years.BoxOf(n), std::to_wstring(firstYear + n - 1).c_str());
    }
    ShowPanel(dialog, years, rule.AllYears, [&](int n) {
        return std::binary_search(rule.Years.begin(), rule.Years.end(), firstYear + n - 1);
    });
    ShowValueSet(dialog, kMonths, rule.Months);
    ShowValueSet(dialog, kWeeks, rule.Weeks);
    ShowValueSet(dialog, kWeekDays, rule.WeekDays);
    ShowValueSet(dialog, kDays, rule.Days);
    ShowDate(dialog, IDC_ALARM_START_ON, IDC_ALARM_START, rule.Start, today);
    ShowDate(dialog, IDC_ALARM_END_ON, IDC_ALARM_END, rule.End, today);
    FollowDateBoxes(dialog);
    const double day = std::floor(today);
    ShowPickerValue(GetDlgItem(dialog, IDC_ALARM_TIME), day + rule.TimeOfDay * kOneSecond);
    SetDlgItemInt(dialog, IDC_ALARM_EVERY, static_cast<UINT>(rule.Every), FALSE);
    SendDlgItemMessageW(dialog, IDC_ALARM_EVERY_UNIT, CB_SETCURSEL, static_cast<WPARAM>(rule.Unit),
                        0);
    ShowPickerValue(GetDlgItem(dialog, IDC_ALARM_SNOOZE), day + alarm.SnoozeSeconds * kOneSecond);
    ShowSound(dialog, alarm.Sound);
}

TAlarm ReadAlarmSettings(HWND dialog, const TAlarm& shown, int firstYear) {
    TAlarm alarm = shown;
    TAlarmRule& rule = alarm.Rule;
    alarm.Name = ToUtf8(ControlText(dialog, IDC_ALARM_NAME));
    rule.AllYears = Checked(dialog, IDC_YEAR_ALL);
    // Years the panel does not show are kept as they were.
    std::erase_if(rule.Years,
                  [&](int year) { return year >= firstYear && year < firstYear + kYearsShown; });
    for (int n = 1; n <= kYearsShown; ++n) {
        if (Checked(dialog, kPanels[0].BoxOf(n))) {
            rule.Years.push_back(firstYear + n - 1);
        }
    }
    std::sort(rule.Years.begin(), rule.Years.end());
    rule.Months = ReadValueSet(dialog, kMonths);
    rule.Weeks = ReadValueSet(dialog, kWeeks);
    rule.WeekDays = ReadValueSet(dialog, kWeekDays);
    rule.Days = ReadValueSet(dialog, kDays);
    rule.Start = ReadDate(dialog, IDC_ALARM_START_ON, IDC_ALARM_START);
    rule.End = ReadDate(dialog, IDC_ALARM_END_ON, IDC_ALARM_END);
    rule.TimeOfDay = ReadSecondsOfDay(dialog, IDC_ALARM_TIME).value_or(rule.TimeOfDay);
    BOOL read = FALSE;
    const UINT every = GetDlgItemInt(dialog, IDC_ALARM_EVERY, &read, FALSE);
    if (read && every >= 1 && every <= kLongestEvery) {
        rule.Every = static_cast<int>(every);
    }
    const LRESULT unit = SendDlgItemMessageW(dialog, IDC_ALARM_EVERY_UNIT, CB_GETCURSEL, 0, 0);
    if (unit >= 0 && unit < kEveryUnitCount) {
        rule.Unit = static_cast<TEveryUnit>(unit);
    }
    // A snooze of no time at all is no snooze: the usual length instead.
    const int snooze = ReadSecondsOfDay(dialog, IDC_ALARM_SNOOZE).value_or(alarm.SnoozeSeconds);
    alarm.SnoozeSeconds = snooze > 0 ? snooze : kDefaultSnoozeSeconds;
    return alarm;
}

bool FollowAllBox(HWND dialog, int id) {
    for (const Panel& panel : kPanels) {
        if (id != panel.AllId) {
            continue;
        }
        const bool all = Checked(dialog, id);
        ShowPanel(dialog, panel, all,
                  [&](int value) { return all || Checked(dialog, panel.BoxOf(value)); });
        return true;
    }
    return false;
}

void FollowDateBoxes(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_ALARM_START),
                 IsWindowEnabled(GetDlgItem(dialog, IDC_ALARM_START_ON)) &&
                     Checked(dialog, IDC_ALARM_START_ON));
    EnableWindow(GetDlgItem(dialog, IDC_ALARM_END),
                 IsWindowEnabled(GetDlgItem(dialog, IDC_ALARM_END_ON)) &&
                     Checked(dialog, IDC_ALARM_END_ON));
}

void EnableAlarmSettings(HWND dialog, bool enabled) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const bool own = id == IDC_ALARM_LIST || id == IDC_ALARM_ADD;
        if (!own && id != -1 && id != 0xFFFF) {
            EnableWindow(child, enabled ? TRUE : FALSE);
        }
    }
    if (!enabled) {
        return;
    }
    // A checked "All" keeps its panel's boxes disabled, an unchecked date box its picker.
    for (const Panel& panel : kPanels) {
        if (Checked(dialog, panel.AllId)) {
            FollowAllBox(dialog, panel.AllId);
        }
    }
    FollowDateBoxes(dialog);
}

void ShowSound(HWND dialog, const std::string& sound) {
    SetDlgItemTextW(dialog, IDC_ALARM_SOUND, sound.empty() ? kBeepName : ToWide(sound).c_str());
}

} // namespace norvale::win32
