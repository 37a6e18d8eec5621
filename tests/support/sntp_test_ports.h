#pragma once

#include "core/net/sntp_client.h"
#include "support/fake_clock.h"
#include "support/fake_clock_setter.h"
#include "support/fake_random_source.h"
#include "support/fake_udp_socket.h"

namespace norvale::testing {

// The SNTP client on fakes of every port it uses.
struct SntpTestPorts {
    FakeClock clock;
    FakeUdpSocket socket;
    FakeClockSetter setter;
    FakeRandomSource random;
    TIdSNTP sntp{socket, clock, setter, random};
};

} // namespace norvale::testing
