#pragma once

// The icons of app_icon.rc. The lowest identifier is the program's own icon, the one the
// shell shows for the exe.
#define NORVALE_APP_ICON 1
#define NORVALE_TRAY_ICON 2
#define NORVALE_ALARMS_ICON 3
