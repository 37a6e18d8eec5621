#include "core/dialogs/countdown_pickers.h"
#include "core/dialogs/date_time_picker.h"
#include "core/time/calendar.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

// The time of day taken from a value of our days carries that value's rounding: far below a
// millisecond.
constexpr double kTight = kOneMillisecond / 1000;

DateTime At(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    return *EncodeDate(year, month, day) + *EncodeTime(hour, minute, second, ms);
}

TEST(DateTimePickerValue, SettingADateKeepsThePickersTimeOfDay) {
    DateTimePickerValue picker(At(2026, 3, 9, 14, 5, 7));
    picker.SetDate(At(2026, 12, 25, 18, 30, 0));
    EXPECT_NEAR(picker.GetDateTime(), At(2026, 12, 25, 14, 5, 7), kTight);
    EXPECT_DOUBLE_EQ(picker.GetDate(), *EncodeDate(2026, 12, 25));
}

TEST(DateTimePickerValue, SettingATimeKeepsThePickersDate) {
    DateTimePickerValue picker(At(2026, 3, 9, 14, 5, 7));
    picker.SetTime(At(2026, 12, 25, 18, 30, 0));
    EXPECT_NEAR(picker.GetDateTime(), At(2026, 3, 9, 18, 30, 0), kTight);
    EXPECT_NEAR(picker.GetTime(), *EncodeTime(18, 30, 0, 0), kTight);

    // A duration on the origin date keeps that date when the user picks another time.
    DateTimePickerValue duration(90 * kOneSecond);
    duration.SetTime(At(2026, 1, 2, 0, 0, 45));
    EXPECT_NEAR(duration.GetDateTime(), 45 * kOneSecond, kTight);
}

// The picker holds milliseconds; a value equal to that resolution is left exactly as it was,
// so a time read back from the control does not disturb a finer stored value.
TEST(DateTimePickerValue, AnEqualTimeOfDayChangesNothing) {
    const DateTime stored = 10.0 / 86'400.0 + 0.3 * kOneMillisecond;
    DateTimePickerValue picker(stored);
    picker.SetTime(*EncodeDate(2030, 5, 5) + *EncodeTime(0, 0, 10, 0));
    EXPECT_EQ(picker.GetDateTime(), stored);
    picker.SetTime(*EncodeTime(0, 0, 10, 1));
    EXPECT_NE(picker.GetDateTime(), stored);
    EXPECT_NEAR(picker.GetDateTime(), *EncodeTime(0, 0, 10, 1), kTight);
}

// Before the origin the day counts below zero and the time of day away from it.
TEST(DateTimePickerValue, NegativeValuesKeepTheirSignConvention) {
    DateTimePickerValue picker(-1.25); // 1899-12-29 06:00
    EXPECT_DOUBLE_EQ(picker.GetDate(), -1);
    EXPECT_NEAR(picker.GetTime(), 0.25, kTight);
    picker.SetTime(0.75);
    EXPECT_NEAR(picker.GetDateTime(), -1.75, kTight);
    picker.SetDate(At(2000, 1, 1, 3, 0, 0));
    EXPECT_NEAR(picker.GetDateTime(), At(2000, 1, 1, 18, 0, 0), kTight);
}

TEST(CountdownPickers, ATargetGoesThroughBothPickersUnchanged) {
    const DateTime now = At(2026, 12, 8, 0, 12, 34, 567);
    CountdownPickers pickers(now);
    const DateTime target = At(2026, 12, 25, 18, 30, 0);
    pickers.SetCountdownTarget(target);
    EXPECT_DOUBLE_EQ(pickers.dtpDate.GetDate(), *EncodeDate(2026, 12, 25));
    EXPECT_NEAR(pickers.dtpTime.GetTime(), *EncodeTime(18, 30, 0, 0), kTight);
    // Each picker keeps the other half from the moment it was made.
    EXPECT_NEAR(pickers.dtpDate.GetTime(), *EncodeTime(0, 12, 34, 567), kTight);
    EXPECT_DOUBLE_EQ(pickers.dtpTime.GetDate(), *EncodeDate(2026, 12, 8));
    EXPECT_NEAR(pickers.GetCountdownTarget(), target, kTight);

    pickers.dtpTime.SetTime(At(1999, 1, 1, 7, 0, 0));
    pickers.dtpDate.SetDate(At(2027, 1, 1, 23, 0, 0));
    EXPECT_NEAR(pickers.GetCountdownTarget(), At(2027, 1, 1, 7, 0, 0), kTight);
}

TEST(CountdownPickers, ATargetWithoutADateOpensOnToday) {
    const DateTime now = At(2026, 12, 8, 0, 12, 34);
    CountdownPickers unset(now);
    unset.SetCountdownTarget(0);
    EXPECT_DOUBLE_EQ(unset.GetCountdownTarget(), *EncodeDate(2026, 12, 8));

    CountdownPickers negative(now);
    negative.SetCountdownTarget(-1.25);
    EXPECT_NEAR(negative.GetCountdownTarget(), At(2026, 12, 8, 6, 0, 0), kTight);

    // The first day of the calendar with a time of day is a date the picker shows.
    CountdownPickers origin(now);
    origin.SetCountdownTarget(0.5);
    EXPECT_NEAR(origin.GetCountdownTarget(), 0.5, kTight);
}

} // namespace
} // namespace norvale
