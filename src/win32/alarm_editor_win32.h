#pragma once

#include "core/alarms/alarm.h"
#include "core/platform/date_time.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// The right-hand side of the Alarms window: the panels that show one alarm's settings and
// read them back. The panel of years starts at `firstYear`.

// Shows an alarm's settings in the panels.
void ShowAlarmSettings(HWND dialog, const TAlarm& alarm, int firstYear, DateTime today);

// The settings the panels show now. What the panels cannot show is taken from `shown`: its
// years outside the panel's nine, its sound, whether it is on, and an "Every" or snooze that
// is not a valid number.
TAlarm ReadAlarmSettings(HWND dialog, const TAlarm& shown, int firstYear);

// A click on a panel's "All" box: checked, every box of the panel shows checked and cannot
// be changed; unchecked, the boxes can be changed again, still checked. False for any other
// control.
bool FollowAllBox(HWND dialog, int id);

// A click on "Start Date:" or "End Date:": its picker is enabled with the box.
void FollowDateBoxes(HWND dialog);

// The panels take input only while an alarm is selected.
void EnableAlarmSettings(HWND dialog, bool enabled);

// The sound as the window names it.
void ShowSound(HWND dialog, const std::string& sound);

} // namespace norvale::win32
