#pragma once

#include "core/dialogs/date_time_picker.h"

namespace norvale {

// The Countdown dialog's two pickers: the target's date in one, its time of day in the other.
class CountdownPickers {
public:
    // Both pickers start at the moment the dialog is made, as a fresh picker does.
    explicit CountdownPickers(DateTime now) : dtpDate(now), dtpTime(now), FNow(now) {}

    // A target on or before the first day of the calendar (0, the value of a countdown never
    // set, or a negative one) has no date the date picker can show; the dialog then opens on
    // today's date with the target's time of day, so 0 shows today at 00:00:00.
    void SetCountdownTarget(DateTime target);
    // The date of dtpDate with the time of day of dtpTime.
    DateTime GetCountdownTarget() const;

    DateTimePickerValue dtpDate;
    DateTimePickerValue dtpTime;

private:
    DateTime FNow;
};

} // namespace norvale
