#pragma once

#include "core/platform/system_clock.h"

#include <cstdint>

namespace norvale::testing {

// Queries a real NTP server on 127.0.0.1 through the platform's socket and clock, and
// checks that it gives a usable reply agreeing with this computer's clock: on loopback both
// read the same clock, so offset and delay stay far below 50 ms.
void ExpectAgreeingServerOnLoopback(std::uint16_t port, const SystemClock& clock);

} // namespace norvale::testing
