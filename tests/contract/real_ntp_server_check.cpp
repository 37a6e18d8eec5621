#include "contract/real_ntp_server_check.h"

#include "contract/platform_udp_socket.h"
#include "core/net/sntp_client.h"
#include "core/time/system_time.h"
#include "support/fake_clock_setter.h"
#include "support/fake_random_source.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace norvale::testing {

void ExpectAgreeingServerOnLoopback(const std::string& host, std::uint16_t port,
                                    const SystemClock& clock) {
    const std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    FakeClockSetter setter;
    FakeRandomSource random;
    random.Step = 0x9E3779B9;
    TIdSNTP sntp(*socket, clock, setter, random);
    sntp.Host = host;
    sntp.Port = port;
    sntp.ReceiveTimeout = 250;

    // The server may still be starting: it gets a few seconds to answer, each try in its turn.
    sntp.AllowRequests(20);
    sntp.SetActive(true);
    bool answered = false;
    for (int attempt = 0; attempt < 20 && !answered; ++attempt) {
        answered = sntp.QueryServerTime() != 0;
    }
    ASSERT_TRUE(answered) << "no usable reply from " << host << " port " << port;
    std::printf("chronyd on %s: offset %.3f ms, delay %.3f ms\n", host.c_str(),
                sntp.ClockOffset() / kOneMillisecond, sntp.TripDelay() / kOneMillisecond);
    EXPECT_LT(std::abs(sntp.ClockOffset()), 5 * kOneMillisecond)
        << "offset " << sntp.ClockOffset() / kOneMillisecond << " ms";
    EXPECT_LT(sntp.TripDelay(), 50 * kOneMillisecond)
        << "delay " << sntp.TripDelay() / kOneMillisecond << " ms";
    // Timestamps are whole milliseconds, so a fast exchange can come out a little below 0.
    EXPECT_GT(sntp.TripDelay(), -5 * kOneMillisecond);

    // Setting the clock by that reading would set it to about now in UTC (through the fake:
    // never for real).
    sntp.SetActive(false);
    ASSERT_EQ(sntp.ApplyReading(sntp.LastReading(), std::nullopt), SyncResult::Set);
    ASSERT_EQ(setter.Calls.size(), 1U);
    const std::optional<DateTime> setTo = SystemTimeToDateTime(setter.Calls[0]);
    ASSERT_TRUE(setTo);
    EXPECT_LT(std::abs(*setTo - (clock.Now() + sntp.LocalBias())), kOneSecond);
}

} // namespace norvale::testing
