#include "core/net/sntp_client.h"
#include "core/time/calendar.h"
#include "support/fake_clock.h"
#include "support/fake_clock_setter.h"
#include "support/fake_udp_socket.h"
#include "support/sntp_reply.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace norvale {
namespace {

using testing::SntpReplyFields;

constexpr DateTime kTolerance = 1e-9; // about 86 microseconds
const DateTime kDay = *EncodeDate(2026, 3, 9);

DateTime TimeOfDay(int hour, int minute, int second, int millisecond) {
    return kDay + *EncodeTime(hour, minute, second, millisecond);
}

std::vector<std::uint8_t> Bytes(const NtpPacket& packet) {
    return {packet.begin(), packet.end()};
}

// The T1..T4 example: the request leaves at 10:00:00.000, the server receives it at
// 10:00:02.000 and answers at 10:00:02.010, the reply arrives at 10:00:00.100.
class SntpClientTest : public ::testing::Test {
protected:
    SntpClientTest() {
        clock.Set(TimeOfDay(10, 0, 0, 0));
        fields.Receive = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 0));
        fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10));
    }

    // The server answers every request with `fields`, preceded by `before`.
    void Serve(std::vector<Datagram> before = {}) {
        socket.Respond = [this, before](std::span<const std::uint8_t> request) {
            clock.Set(TimeOfDay(10, 0, 0, 100));
            std::vector<Datagram> arriving = before;
            arriving.push_back(
                {Bytes(testing::MakeSntpReply(request, fields)), socket.Server, 100});
            return arriving;
        };
    }

    testing::FakeClock clock;
    testing::FakeUdpSocket socket;
    testing::FakeClockSetter setter;
    TIdSNTP sntp{socket, clock, setter};
    SntpReplyFields fields;
};

TEST_F(SntpClientTest, ComputesOffsetAndDelayAndSetsTheClock) {
    Serve();
    ASSERT_TRUE(sntp.SyncClockToServer());
    EXPECT_NEAR(sntp.RequestSentAt(), TimeOfDay(10, 0, 0, 0), kTolerance);
    EXPECT_NEAR(sntp.ServerReceivedAt(), TimeOfDay(10, 0, 2, 0), kTolerance);
    EXPECT_NEAR(sntp.ServerSentAt(), TimeOfDay(10, 0, 2, 10), kTolerance);
    EXPECT_NEAR(sntp.ReplyReceivedAt(), TimeOfDay(10, 0, 0, 100), kTolerance);
    EXPECT_NEAR(sntp.ClockOffset() / kOneSecond, 1.955, 1e-5);
    EXPECT_NEAR(sntp.TripDelay() / kOneSecond, 0.11, 1e-5);
    ASSERT_EQ(setter.Calls.size(), 1U);
    const SYSTEMTIME& set = setter.Calls[0];
    EXPECT_EQ(set.wYear, 2026);
    EXPECT_EQ(set.wMonth, 3);
    EXPECT_EQ(set.wDay, 9);
    EXPECT_EQ(set.wHour, 10);
    EXPECT_EQ(set.wMinute, 0);
    EXPECT_EQ(set.wSecond, 2);
    EXPECT_EQ(set.wMilliseconds, 65);
}

TEST_F(SntpClientTest, AComputerInDaylightTimeIsSetToItsLocalTime) {
    // The server's timestamps are UTC; the computer is at UTC+1 in daylight time.
    fields.Receive.Seconds -= 3600;
    fields.Transmit.Seconds -= 3600;
    clock.Zone.Bias = 0;
    clock.Zone.DaylightBias = -60;
    clock.ZoneResult = kTimeZoneIdDaylight;
    Serve();
    ASSERT_TRUE(sntp.SyncClockToServer());
    ASSERT_EQ(setter.Calls.size(), 1U);
    EXPECT_EQ(setter.Calls[0].wHour, 10);
    EXPECT_EQ(setter.Calls[0].wSecond, 2);
    EXPECT_EQ(setter.Calls[0].wMilliseconds, 65);
}

TEST_F(SntpClientTest, SendsTheRequestToTheHostAndReadsAtMost48Bytes) {
    EXPECT_EQ(sntp.BufferSize, 8192U);
    sntp.Host = "time.example";
    sntp.Port = 1123;
    Serve();
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    EXPECT_EQ(socket.SentHost, "time.example");
    EXPECT_EQ(socket.SentPort, 1123);
    ASSERT_EQ(socket.Sent.size(), 48U);
    EXPECT_EQ(socket.Sent[0], 0x1B);
    EXPECT_EQ(ReadNtpTimestamp(socket.Sent, kNtpTransmitOffset),
              sntp.ToNtpTimestamp(TimeOfDay(10, 0, 0, 0)));
    EXPECT_EQ(sntp.BufferSize, 48U);
    EXPECT_EQ(socket.ReceiveLimits, (std::vector<std::size_t>{48}));
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000}));
}

TEST_F(SntpClientTest, TheRequestCarriesTheClockInUtc) {
    // 2026-01-01 00:00:00.5 UTC on a computer two hours east of UTC.
    clock.Zone.Bias = -120;
    clock.Set(*EncodeDate(2026, 1, 1) + *EncodeTime(2, 0, 0, 500));
    sntp.QueryServerTime();
    const std::vector<std::uint8_t> expected{
        0x1B, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,
        0,    0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,
        0,    0, 0, 0, 0, 0, 0, 0, 0xED, 0x00, 0x37, 0x80, 0x80, 0x00, 0x00, 0x00};
    EXPECT_EQ(socket.Sent, expected);
}

TEST_F(SntpClientTest, RejectsUnsynchronisedAndBadStratumReplies) {
    struct Case {
        int Leap;
        int Stratum;
        bool Usable;
    };
    const Case cases[] = {{0, 1, true},  {0, 15, true}, {2, 2, true},
                          {3, 2, false}, {0, 0, false}, {0, 16, false}};
    for (const Case& c : cases) {
        fields.LeapIndicator = c.Leap;
        fields.Stratum = c.Stratum;
        setter.Calls.clear();
        Serve();
        EXPECT_EQ(sntp.SyncClockToServer(), c.Usable)
            << "LI " << c.Leap << " stratum " << c.Stratum;
        EXPECT_EQ(setter.Calls.size(), c.Usable ? 1U : 0U);
        // A rejected reply still leaves its figures behind.
        EXPECT_NEAR(sntp.ServerSentAt(), TimeOfDay(10, 0, 2, 10), kTolerance);
    }
}

TEST_F(SntpClientTest, StratumCheckCanBeSwitchedOff) {
    sntp.CheckStratum = false;
    fields.Stratum = 0;
    Serve();
    EXPECT_NE(sntp.QueryServerTime(), 0);
}

TEST_F(SntpClientTest, AZeroTransmitTimestampIsRejected) {
    fields.Transmit = {};
    Serve();
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    fields.Transmit = {0, 1};
    Serve();
    EXPECT_NE(sntp.QueryServerTime(), 0);
}

TEST_F(SntpClientTest, AReplyOf47BytesIsNotUsedButOneOf48Is) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> reply = Bytes(testing::MakeSntpReply(request, fields));
        reply.pop_back();
        return std::vector<Datagram>{{reply, socket.Server, 1}};
    };
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(sntp.ServerSentAt(), 0);
    EXPECT_FALSE(sntp.SyncClockToServer());
    EXPECT_TRUE(setter.Calls.empty());
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> reply = Bytes(testing::MakeSntpReply(request, fields));
        reply.resize(68, 0xEE); // with a key id and digest: cut to the buffer's 48
        return std::vector<Datagram>{{reply, socket.Server, 1}};
    };
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
}

TEST_F(SntpClientTest, SilenceIsNoUsableReply) {
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_FALSE(sntp.SyncClockToServer());
    EXPECT_TRUE(setter.Calls.empty());
}

TEST_F(SntpClientTest, SkipsForgedDatagramsAndTakesTheRealReply) {
    fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(23, 59, 0, 0));
    SntpReplyFields forged = fields;
    std::vector<Datagram> before;
    // A reply to some other request, and our own reply sent from elsewhere.
    NtpPacket otherRequest = BuildSntpRequest({12345, 678});
    before.push_back({Bytes(testing::MakeSntpReply(otherRequest, forged)), socket.Server, 400});
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        clock.Set(TimeOfDay(10, 0, 0, 100));
        NtpPacket genuine = testing::MakeSntpReply(request, fields);
        std::vector<Datagram> arriving = before;
        arriving.push_back({Bytes(genuine), {{127, 0, 0, 1}, 124}, 300});
        arriving.push_back({Bytes(genuine), {{127, 0, 0, 2}, 123}, 200});
        fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10));
        arriving.push_back({Bytes(testing::MakeSntpReply(request, fields)), socket.Server, 100});
        return arriving;
    };
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    // One overall time-out: each wait gets what is left of it.
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 4600, 4300, 4100}));
}

TEST_F(SntpClientTest, ForgedDatagramsNeverSetTheClock) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        NtpPacket forged = testing::MakeSntpReply(request, fields);
        forged[kNtpOriginateOffset + 7] ^= 1;
        return std::vector<Datagram>{
            {Bytes(forged), socket.Server, 3000},
            {Bytes(forged), socket.Server, 3000},
            {Bytes(testing::MakeSntpReply(request, fields)), socket.Server, 1}};
    };
    // The genuine reply comes after the time-out has run out.
    EXPECT_FALSE(sntp.SyncClockToServer());
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 2000}));
}

TEST_F(SntpClientTest, AFloodOfForeignDatagramsEndsTheQuery) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        const Datagram foreign{
            Bytes(testing::MakeSntpReply(request, fields)), {{10, 0, 0, 9}, 123}, 0};
        return std::vector<Datagram>(1000, foreign);
    };
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_LT(socket.ReceiveTimeouts.size(), 100U);
    EXPECT_TRUE(setter.Calls.empty());
}

TEST_F(SntpClientTest, ActiveOpensAndClosesTheSocket) {
    EXPECT_FALSE(sntp.Active());
    sntp.SetActive(true);
    EXPECT_TRUE(socket.IsOpen());
    Serve();
    sntp.QueryServerTime();
    sntp.QueryServerTime();
    EXPECT_EQ(socket.OpenCount, 1);
    EXPECT_TRUE(sntp.Active());
    sntp.SetActive(false);
    EXPECT_FALSE(socket.IsOpen());
    // A query without Active opens the socket itself.
    sntp.QueryServerTime();
    EXPECT_EQ(socket.OpenCount, 2);
}

TEST_F(SntpClientTest, SocketErrorsPropagateAndCloseTheSocket) {
    sntp.SetActive(true);
    socket.ReceiveError = "Socket Error # 10054\r\nConnection reset by peer.";
    try {
        sntp.QueryServerTime();
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10054\r\nConnection reset by peer.");
    }
    EXPECT_FALSE(socket.IsOpen());

    socket.ReceiveError.reset();
    socket.SendError = "Socket Error # 11001\r\nHost not found.";
    sntp.SetActive(true);
    EXPECT_THROW(sntp.SyncClockToServer(), std::runtime_error);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_TRUE(setter.Calls.empty());

    socket.OpenError = true;
    EXPECT_THROW(sntp.QueryServerTime(), std::runtime_error);
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(SntpClientTest, ARefusedClockChangeIsReportedAsFailure) {
    setter.Result = false;
    Serve();
    EXPECT_FALSE(sntp.SyncClockToServer());
    EXPECT_EQ(setter.Calls.size(), 1U);
    // A time without a calendar date never reaches the platform.
    setter.Result = true;
    EXPECT_FALSE(sntp.SetComputerLocalTime(-1.5));
    EXPECT_EQ(setter.Calls.size(), 1U);
}

} // namespace
} // namespace norvale
