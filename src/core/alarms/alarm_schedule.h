#pragma once

#include "core/alarms/alarm_rule.h"
#include "core/platform/date_time.h"
#include "core/platform/win_types.h"

#include <optional>

namespace norvale {

// The moment, in the computer's local time, at which an alarm with this rule next goes off
// after the local time `after`: at the first of the rule's times that lies after `after` on
// the wall clock. The zone's daylight-saving rules decide the rest: a time in the hour the
// clocks skip in spring goes off when that hour ends, and one in the hour they repeat in
// autumn goes off once, on its first pass.
// nullopt when no such time exists before the end of year 9999: the rule never goes off.
std::optional<DateTime> NextOccurrence(const TAlarmRule& rule, const TIME_ZONE_INFORMATION& zone,
                                       DateTime after);

} // namespace norvale
