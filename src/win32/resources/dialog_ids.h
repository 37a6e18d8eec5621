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
