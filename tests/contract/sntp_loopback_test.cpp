#include "contract/loopback_sntp_server.h"
#include "contract/platform_udp_socket.h"
#include "core/net/sntp_client.h"
#include "core/time/calendar.h"
#include "support/fake_clock.h"
#include "support/fake_clock_setter.h"
#include "support/fake_random_source.h"

#include <gtest/gtest.h>
#include <string>

// The SNTP client on the platform's real socket against a loopback server that misbehaves
// in one way at a time: nothing but a good reply may ever set the clock.

namespace norvale::testing {
namespace {

class SntpLoopback : public ::testing::TestWithParam<SntpFault> {
protected:
    SntpLoopback() {
        sntp.Host = "127.0.0.1";
        sntp.ReceiveTimeout = 300; // the silent cases wait this long
        random.Next = 0x2468ACE;
        random.Step = 0x1357;
        fields.Receive = sntp.ToNtpTimestamp(kNow + 2 * kOneSecond);
        fields.Transmit = sntp.ToNtpTimestamp(kNow + 3 * kOneSecond);
    }

    const DateTime kNow = *EncodeDate(2026, 5, 4) + 0.75;
    FakeClock clock{kNow};
    std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    FakeClockSetter setter;
    FakeRandomSource random;
    TIdSNTP sntp{*socket, clock, setter, random};
    SntpReplyFields fields;
};

TEST_F(SntpLoopback, AGoodReplySetsTheClock) {
    LoopbackSntpServer server(SntpFault::None, fields);
    sntp.Port = server.Port();
    sntp.SetActive(true);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    sntp.SetActive(false);
    EXPECT_TRUE(server.GotRequest());
    EXPECT_NEAR(sntp.ServerSentAt(), kNow + 3 * kOneSecond, 1e-9);
    EXPECT_EQ(setter.Calls.size(), 1U);
}

TEST_F(SntpLoopback, AServerOnIpv6LoopbackAnswersInBrackets) {
    LoopbackSntpServer server(SntpFault::None, fields, AddressFamily::IPv6);
    const TimeServer named = ParseTimeServer("[::1]:" + std::to_string(server.Port()));
    sntp.Host = named.Host;
    sntp.Port = named.Port;
    EXPECT_NEAR(sntp.QueryServerTime(), kNow + 3 * kOneSecond, 1e-9);
    EXPECT_TRUE(server.GotRequest());
}

TEST_F(SntpLoopback, TheGenuineReplyAfterAForgedOneIsUsed) {
    LoopbackSntpServer server(SntpFault::ForgedThenGenuine, fields);
    sntp.Port = server.Port();
    EXPECT_NEAR(sntp.QueryServerTime(), kNow + 3 * kOneSecond, 1e-9);
}

TEST_P(SntpLoopback, AFaultyReplyIsNoUsableReply) {
    LoopbackSntpServer server(GetParam(), fields);
    sntp.Port = server.Port();
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_TRUE(server.GotRequest());
    EXPECT_TRUE(setter.Calls.empty());
}

std::string FaultName(const ::testing::TestParamInfo<SntpFault>& info) {
    switch (info.param) {
    case SntpFault::Silence:
        return "Silence";
    case SntpFault::ShortReply:
        return "ShortReply";
    case SntpFault::LeapUnsynchronised:
        return "LeapUnsynchronised";
    case SntpFault::StratumZero:
        return "StratumZero";
    case SntpFault::BroadcastMode:
        return "BroadcastMode";
    case SntpFault::ZeroReceive:
        return "ZeroReceive";
    case SntpFault::FarRootDistance:
        return "FarRootDistance";
    case SntpFault::WrongOriginate:
        return "WrongOriginate";
    case SntpFault::WrongLowEchoBit:
        return "WrongLowEchoBit";
    case SntpFault::WrongSourcePort:
        return "WrongSourcePort";
    default:
        return "Other";
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, SntpLoopback,
                         ::testing::Values(SntpFault::Silence, SntpFault::ShortReply,
                                           SntpFault::LeapUnsynchronised, SntpFault::StratumZero,
                                           SntpFault::BroadcastMode, SntpFault::ZeroReceive,
                                           SntpFault::FarRootDistance, SntpFault::WrongOriginate,
                                           SntpFault::WrongLowEchoBit, SntpFault::WrongSourcePort),
                         FaultName);

} // namespace
} // namespace norvale::testing
