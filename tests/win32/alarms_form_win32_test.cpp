#include "core/alarms/alarm_display.h"
#include "core/alarms/alarm_store.h"
#include "dialog_driver.h"
#include "support/alarm_testing.h"
#include "support/fake_clock.h"
#include "support/fake_registry.h"
#include "win32/alarms_form_win32.h"
#include "win32/date_time_picker_win32.h"
#include "win32/error_report_win32.h"
#include "win32/resources/dialog_ids.h"

#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>

namespace norvale::win32 {
namespace {

using norvale::testing::At;

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The clock's alarms as the window edits them, on a clock that stands at 2026-12-08 09:15:20.
class Alarms final : public AlarmEditing {
public:
    Alarms() { clock.Set(At(2026, 12, 8, 9, 15, 20)); }

    const std::vector<TScheduledAlarm>& EditedAlarms() const override { return alarms.Alarms(); }
    void AddAlarm(TAlarm alarm) override { alarms.Add(std::move(alarm), clock.Now()); }
    void ChangeAlarm(std::size_t index, TAlarm alarm) override {
        ++Changes;
        alarms.Change(index, std::move(alarm), clock.Now());
    }
    void RemoveAlarm(std::size_t index) override { alarms.Remove(index); }
    DateTime LocalNow() const override { return clock.Now(); }
    const FormatSettings& DisplayFormat() const override { return format; }

    norvale::testing::FakeClock clock;
    TAlarmScheduler alarms{clock};
    FormatSettings format = FormatSettings::EnglishUnitedStates();
    int Changes = 0;
};

class TfAlarmsTest : public ::testing::Test {
protected:
    HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
    bool Checked(int id) const { return IsDlgButtonChecked(form.Handle(), id) == BST_CHECKED; }
    // A click on a check box or a button, as the dialog manager passes it on.
    void Click(int id) {
        HWND control = Item(id);
        if ((GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            CheckDlgButton(form.Handle(), id, Checked(id) ? BST_UNCHECKED : BST_CHECKED);
        }
        SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }
    std::wstring Cell(int row, int column) const {
        wchar_t text[256] = {};
        ListView_GetItemText(Item(IDC_ALARM_LIST), row, column, text, 256);
        return text;
    }
    const TAlarm& First() const { return alarms.EditedAlarms().at(0).Alarm; }

    Alarms alarms;
    norvale::testing::FakeRegistry registry;
    TfAlarms form{nullptr, alarms, registry};
};

TEST_F(TfAlarmsTest, IsMadeHiddenAndShowsItsPanelsEmptyUntilAnAlarmIsThere) {
    HWND window = form.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Text(window), L"Alarms");
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    // At its designed place, 766, 201, as far as the screen has room for it there: a work
    // area as small as the tests' 1024 x 768 takes it just inside its right edge.
    ::RECT r{};
    GetWindowRect(window, &r);
    ::RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, std::min(766L, work.right - (r.right - r.left)));
    EXPECT_EQ(r.top, std::min(201L, work.bottom - (r.bottom - r.top)));
    EXPECT_EQ(ListView_GetItemCount(Item(IDC_ALARM_LIST)), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ALARM_NAME)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ALARM_DELETE)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ALARM_ADD)));
    // This year and the next eight.
    EXPECT_EQ(Text(Item(IDC_YEAR_ALL + 1)), L"2026");
    EXPECT_EQ(Text(Item(IDC_YEAR_ALL + 9)), L"2034");
    HWND units = Item(IDC_ALARM_EVERY_UNIT);
    EXPECT_EQ(SendMessageW(units, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(Text(Item(IDC_MONTH_ALL + 12)), L"Dec");
    EXPECT_EQ(Text(Item(IDC_WEEK_ALL + 5)), L"last");
    EXPECT_EQ(Text(Item(IDC_DAY_ALL + 31)), L"31");
}

TEST_F(TfAlarmsTest, AddMakesADailyAlarmAtTheTimeNowAndShowsIt) {
    form.Show();
    Click(IDC_ALARM_ADD);
    ASSERT_EQ(alarms.EditedAlarms().size(), 1u);
    EXPECT_EQ(First().Name, "Alarm 1");
    EXPECT_EQ(First().Rule.TimeOfDay, 9 * 3600 + 15 * 60 + 20);
    EXPECT_EQ(ListView_GetItemCount(Item(IDC_ALARM_LIST)), 1);
    EXPECT_EQ(Cell(0, 0), L"Alarm 1");
    EXPECT_EQ(Cell(0, 1), L"Wed 12/9/2026 9:15:20 AM");
    EXPECT_TRUE(ListView_GetCheckState(Item(IDC_ALARM_LIST), 0));
    EXPECT_EQ(Text(Item(IDC_ALARM_NAME)), L"Alarm 1");
    EXPECT_EQ(GetFocus(), Item(IDC_ALARM_NAME));
    EXPECT_TRUE(Checked(IDC_MONTH_ALL));
    EXPECT_TRUE(Checked(IDC_MONTH_ALL + 3));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_MONTH_ALL + 3)));
    EXPECT_EQ(Text(Item(IDC_ALARM_EVERY)), L"1");
    EXPECT_EQ(Text(Item(IDC_ALARM_EVERY_UNIT)), L"Day");
    EXPECT_EQ(Text(Item(IDC_ALARM_SOUND)), L"(the clock's beep)");
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ALARM_START)));
    EXPECT_NEAR(ReadPickerValue(Item(IDC_ALARM_SNOOZE)).value_or(0) - At(2026, 12, 8),
                540 * kOneSecond, kOneMillisecond);
}

TEST_F(TfAlarmsTest, EveryChangeInThePanelsTakesEffectAtOnce) {
    form.Show();
    Click(IDC_ALARM_ADD);
    SetWindowTextW(Item(IDC_ALARM_NAME), L"Bins");
    EXPECT_EQ(First().Name, "Bins");
    EXPECT_EQ(Cell(0, 0), L"Bins");

    // Unchecking "All" leaves every month checked; then January goes.
    Click(IDC_MONTH_ALL);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_MONTH_ALL + 1)));
    EXPECT_TRUE(Checked(IDC_MONTH_ALL + 1));
    Click(IDC_MONTH_ALL + 1);
    EXPECT_EQ(First().Rule.Months, TValueSet::Only({2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    Click(IDC_YEAR_ALL);
    Click(IDC_YEAR_ALL + 1);
    EXPECT_FALSE(First().Rule.AllYears);
    EXPECT_EQ(First().Rule.Years,
              (std::vector<int>{2027, 2028, 2029, 2030, 2031, 2032, 2033, 2034}));

    // Every second week: the start date becomes today, so the weeks count from there.
    SetWindowTextW(Item(IDC_ALARM_EVERY), L"2");
    SendMessageW(Item(IDC_ALARM_EVERY_UNIT), CB_SETCURSEL, 2, 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IDC_ALARM_EVERY_UNIT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(IDC_ALARM_EVERY_UNIT)));
    EXPECT_EQ(First().Rule.Every, 2);
    EXPECT_EQ(First().Rule.Unit, TEveryUnit::Week);
    EXPECT_EQ(First().Rule.Start, norvale::testing::DayOf(2026, 12, 8));
    EXPECT_TRUE(Checked(IDC_ALARM_START_ON));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ALARM_START)));

    // A time that can never come shows as "never"; an invalid "Every" is left as it was.
    Click(IDC_DAY_ALL);
    for (int day = 1; day <= 31; ++day) {
        Click(IDC_DAY_ALL + day);
    }
    EXPECT_EQ(Cell(0, 1), L"never");
    SetWindowTextW(Item(IDC_ALARM_EVERY), L"0");
    EXPECT_EQ(First().Rule.Every, 2);

    // The list's box switches it off.
    const int changes = alarms.Changes;
    ListView_SetCheckState(Item(IDC_ALARM_LIST), 0, FALSE);
    EXPECT_FALSE(First().Enabled);
    EXPECT_EQ(alarms.Changes, changes + 1);
    EXPECT_EQ(Cell(0, 1), L"off");
}

TEST_F(TfAlarmsTest, TheSelectedAlarmFillsThePanelsAndDeleteAsksFirst) {
    TAlarm tea = norvale::testing::DailyAlarm("Tea", 16, 5);
    tea.Rule.Weeks = TValueSet::Only({kLastWeek});
    tea.Sound = "C:\\Music\\kettle.wav";
    alarms.AddAlarm(tea);
    alarms.AddAlarm(norvale::testing::DailyAlarm("Lunch", 12, 30));
    form.Show();
    HWND list = Item(IDC_ALARM_LIST);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Text(Item(IDC_ALARM_NAME)), L"Tea");
    EXPECT_FALSE(Checked(IDC_WEEK_ALL));
    EXPECT_TRUE(Checked(IDC_WEEK_ALL + 5));
    EXPECT_FALSE(Checked(IDC_WEEK_ALL + 4));
    EXPECT_EQ(Text(Item(IDC_ALARM_SOUND)), L"C:\\Music\\kettle.wav");
    EXPECT_EQ(ReadPickerValue(Item(IDC_ALARM_TIME)).value_or(0), At(2026, 12, 8, 16, 5));
    Click(IDC_ALARM_BEEP);
    EXPECT_EQ(First().Sound, "");

    bool asked = false;
    {
        testing::ModalDriver driver([] { return testing::FindThreadWindow(L"Norvale Time Clock"); },
                                    [&](HWND box) {
                                        wchar_t question[128] = {};
                                        GetDlgItemTextW(box, 0xFFFF, question, 128);
                                        asked =
                                            std::wstring(question) == L"Delete the alarm \"Tea\"?";
                                        PostMessageW(box, WM_COMMAND, IDYES, 0);
                                    });
        Click(IDC_ALARM_DELETE);
    }
    EXPECT_TRUE(asked);
    ASSERT_EQ(alarms.EditedAlarms().size(), 1u);
    EXPECT_EQ(First().Name, "Lunch");
    EXPECT_EQ(Text(Item(IDC_ALARM_NAME)), L"Lunch");
}

TEST_F(TfAlarmsTest, ClosingOnlyHidesItAndItOpensWhereItWasLeft) {
    form.Show();
    HWND window = form.Handle();
    SetWindowPos(window, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // NOTE: the dialog manager answers WM_CLOSE by posting the Cancel command.
    SendMessageW(window, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, std::string(kAlarmsKeyPath)));

    TfAlarms again(nullptr, alarms, registry);
    again.Show();
    ::RECT r{};
    GetWindowRect(again.Handle(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);

    // A place left on a screen that is gone is pulled back until the window shows whole.
    SetWindowPos(again.Handle(), nullptr, 5000, -3000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(again.Handle(), WM_COMMAND, IDCANCEL, 0);
    TfAlarms moved(nullptr, alarms, registry);
    moved.Show();
    GetWindowRect(moved.Handle(), &r);
    ::RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.top, work.top);
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
