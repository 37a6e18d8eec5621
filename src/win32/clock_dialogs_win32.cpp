#include "win32/clock_dialogs_win32.h"

#include "win32/countdown_dialog_win32.h"
#include "win32/timer_dialog_win32.h"
#include "win32/world_clock_dialog_win32.h"

namespace norvale::win32 {

std::unique_ptr<CountdownDialog> Win32ClockDialogs::CreateCountdownDialog() {
    return std::make_unique<Win32CountdownDialog>(FOwner);
}

std::unique_ptr<TimerDialog> Win32ClockDialogs::CreateTimerDialog() {
    return std::make_unique<Win32TimerDialog>(FOwner, FRegistry);
}

// No owner: the dialog's parent is the desktop.
std::unique_ptr<WorldClockDialog> Win32ClockDialogs::CreateWorldClockDialog() {
    return std::make_unique<Win32WorldClockDialog>(GetDesktopWindow(), FZones);
}

} // namespace norvale::win32
