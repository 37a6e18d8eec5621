#include "core/dialogs/date_time_picker.h"

#include "core/time/calendar.h"
#include "core/time/time_parts.h"

#include <cmath>

namespace norvale {
namespace {

DateTime WholeDays(DateTime value) {
    return std::trunc(value);
}

DateTime TimeOfDay(DateTime value) {
    return std::fabs(value - std::trunc(value));
}

} // namespace

DateTime DateTimePickerValue::GetDate() const {
    return WholeDays(FDateTime);
}

DateTime DateTimePickerValue::GetTime() const {
    return TimeOfDay(FDateTime);
}

void DateTimePickerValue::SetDate(DateTime value) {
    FDateTime = CombineDateTime(WholeDays(value), TimeOfDay(FDateTime));
}

void DateTimePickerValue::SetTime(DateTime value) {
    if (TimeOfDayMilliseconds(value) == TimeOfDayMilliseconds(FDateTime)) {
        return;
    }
    FDateTime = CombineDateTime(WholeDays(FDateTime), TimeOfDay(value));
}

} // namespace norvale
