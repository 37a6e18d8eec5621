#pragma once

#include "core/net/sntp_reading.h"
#include "core/net/time_server.h"
#include "core/platform/date_time.h"
#include "core/time/format_settings.h"

#include <string>
#include <string_view>

// The texts of the face's network actions.

namespace norvale {

inline constexpr std::string_view kClockNotChanged = "The computer's clock was not changed.";

// Why a reading of the server gave nothing to use, in plain words naming the server: that it
// did not answer ("The time server NAME did not answer."), or what was wrong with its reply.
std::string ReplyFaultText(const TimeServer& server, const ReplyFault& fault,
                           const FormatSettings& fs);

// The question before a correction beyond the step bound: the server's time (a local
// date-time in the locale's format) and how far it is from the computer's clock.
std::string ClockStepQuestion(const TimeServer& server, DateTime serverTime, DateTime difference,
                              const FormatSettings& fs);

} // namespace norvale
