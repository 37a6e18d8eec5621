#pragma once

#include "core/platform/date_time.h"

namespace norvale {

// The value of a date or time picker and how the dialogs combine values with it. A date
// picker's user edits the date and a time picker's the time of day; the other half of the
// whole value stays what it was, so reading a picker yields its date and time together.
class DateTimePickerValue {
public:
    explicit DateTimePickerValue(DateTime initial) : FDateTime(initial) {}

    DateTime GetDateTime() const { return FDateTime; }
    void SetDateTime(DateTime value) { FDateTime = value; }

    // The whole days of the value and its time of day (0 to below 1), which CombineDateTime
    // joins back into the value.
    DateTime GetDate() const;
    DateTime GetTime() const;

    // Takes the date of value and keeps the picker's time of day.
    void SetDate(DateTime value);
    // Takes the time of day of value and keeps the picker's date. A time of day equal to the
    // millisecond, the finest a picker holds, leaves the value exactly as it was.
    void SetTime(DateTime value);

private:
    DateTime FDateTime;
};

} // namespace norvale
