#pragma once

#include "core/platform/date_time.h"

#include <memory>
#include <string>

namespace norvale {

// Modal results of the clock's dialogs.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// The Countdown dialog as the clock window uses it: it is given the current target, shown
// modally, and read back when it closed with OK.
class CountdownDialog {
public:
    virtual ~CountdownDialog() = default;
    virtual void SetCountdownTarget(DateTime target) = 0;
    virtual DateTime GetCountdownTarget() const = 0;
    // Shows the dialog until it closes; returns its modal result.
    virtual int ShowModal() = 0;
};

// The Timer dialog: the timer's length and whether it starts at once.
class TimerDialog {
public:
    virtual ~TimerDialog() = default;
    virtual void SetTimerDuration(DateTime duration) = 0;
    virtual DateTime GetTimerDuration() const = 0;
    virtual bool GetAutoStart() const = 0;
    virtual int ShowModal() = 0;
};

// The World Clock dialog: which zone the clock shows and the title it shows in Clock mode.
class WorldClockDialog {
public:
    virtual ~WorldClockDialog() = default;
    // Selects a zone position (-1 clears the selection; past the end keeps it).
    virtual void SelectZone(int position) = 0;
    virtual int SelectedZone() const = 0;
    virtual void SetClockLabel(const std::string& label) = 0;
    virtual std::string GetClockLabel() const = 0;
    virtual int ShowModal() = 0;
};

// Makes a fresh dialog for each showing; the clock window frees it afterwards.
class ClockDialogs {
public:
    virtual ~ClockDialogs() = default;
    virtual std::unique_ptr<CountdownDialog> CreateCountdownDialog() = 0;
    virtual std::unique_ptr<TimerDialog> CreateTimerDialog() = 0;
    virtual std::unique_ptr<WorldClockDialog> CreateWorldClockDialog() = 0;
};

} // namespace norvale
