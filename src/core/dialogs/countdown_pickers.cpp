#include "core/dialogs/countdown_pickers.h"

#include "core/time/calendar.h"

namespace norvale {

void CountdownPickers::SetCountdownTarget(DateTime target) {
    dtpDate.SetDate(target <= 0 ? FNow : target);
    dtpTime.SetTime(target);
}

DateTime CountdownPickers::GetCountdownTarget() const {
    return CombineDateTime(dtpDate.GetDate(), dtpTime.GetTime());
}

} // namespace norvale
