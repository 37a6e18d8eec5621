#pragma once

#include "core/platform/system_clock.h"

#include <cstdint>
#include <string>

namespace norvale::testing {

// Queries a real NTP server on loopback (host "127.0.0.1" or "::1") through the platform's
// socket and clock, and checks that it gives a usable reply agreeing with this computer's
// clock: on loopback both read the same clock, so the offset stays within 5 ms and the
// round trip within 50 ms. Prints the offset and the delay measured.
void ExpectAgreeingServerOnLoopback(const std::string& host, std::uint16_t port,
                                    const SystemClock& clock);

} // namespace norvale::testing
