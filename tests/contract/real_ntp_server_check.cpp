#include "contract/real_ntp_server_check.h"

#include "contract/platform_udp_socket.h"
#include "core/net/sntp_client.h"
#include "core/time/calendar.h"
#include "support/fake_clock_setter.h"

#include <cmath>
#include <gtest/gtest.h>

namespace norvale::testing {

void ExpectAgreeingServerOnLoopback(std::uint16_t port, const SystemClock& clock) {
    const std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    FakeClockSetter setter;
    TIdSNTP sntp(*socket, clock, setter);
    sntp.Host = "127.0.0.1";
    sntp.Port = port;
    sntp.ReceiveTimeout = 250;

    // The server may still be starting: it gets a few seconds to answer.
    sntp.SetActive(true);
    bool answered = false;
    for (int attempt = 0; attempt < 20 && !answered; ++attempt) {
        answered = sntp.QueryServerTime() != 0;
    }
    ASSERT_TRUE(answered) << "no usable reply from 127.0.0.1:" << port;
    EXPECT_LT(std::abs(sntp.ClockOffset()), 50 * kOneMillisecond)
        << "offset " << sntp.ClockOffset() / kOneMillisecond << " ms";
    EXPECT_LT(sntp.TripDelay(), 50 * kOneMillisecond)
        << "delay " << sntp.TripDelay() / kOneMillisecond << " ms";
    // Timestamps are whole milliseconds, so a fast exchange can come out a little below 0.
    EXPECT_GT(sntp.TripDelay(), -5 * kOneMillisecond);

    // Setting the clock would set it to about now (through the fake: never for real).
    ASSERT_TRUE(sntp.SyncClockToServer());
    sntp.SetActive(false);
    ASSERT_EQ(setter.Calls.size(), 1U);
    const SYSTEMTIME& set = setter.Calls[0];
    const DateTime setTo = *EncodeDate(set.wYear, set.wMonth, set.wDay) +
                           *EncodeTime(set.wHour, set.wMinute, set.wSecond, set.wMilliseconds);
    EXPECT_LT(std::abs(setTo - clock.Now()), kOneSecond);
}

} // namespace norvale::testing
