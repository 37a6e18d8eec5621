#pragma once

// Resource and control identifiers shared by dialogs.rc and the dialogs' code. The buttons
// use IDOK and IDCANCEL, so the dialog manager gives them Enter and Escape.

#define IDD_COUNTDOWN 100
#define IDD_TIMER 101
#define IDD_ALARMS 102

#define IDC_TITLE 1000
#define IDC_DATE_LABEL 1001
#define IDC_TIME_LABEL 1002
#define IDC_BEVEL 1003
#define IDC_DATE 1004
#define IDC_TIME 1005
#define IDC_AUTO_START 1006

#define IDC_ALARM_TIME 1100
#define IDC_ALARM_EVERY 1101
#define IDC_ALARM_EVERY_UNIT 1102
#define IDC_ALARM_LIST 1103
#define IDC_ALARM_ADD 1104
#define IDC_ALARM_DELETE 1105
#define IDC_ALARM_NAME 1106
#define IDC_ALARM_START_ON 1107
#define IDC_ALARM_START 1108
#define IDC_ALARM_END_ON 1109
#define IDC_ALARM_END 1110
#define IDC_ALARM_SNOOZE 1111
#define IDC_ALARM_SOUND 1112
#define IDC_ALARM_BROWSE 1113
#define IDC_ALARM_BEEP 1114

// Each panel's "All" box; its value boxes follow it, value n at the "All" box's id + n.
#define IDC_YEAR_ALL 1200
#define IDC_MONTH_ALL 1220
#define IDC_WEEK_ALL 1240
#define IDC_WEEKDAY_ALL 1250
#define IDC_DAY_ALL 1260
