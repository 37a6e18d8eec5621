#include "support/sntp_client_fixture.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

// The client on the network: which datagrams count as the reply, several replies in a row,
// the server's addresses one after another, all within one time limit.

namespace norvale {
namespace {

using testing::SntpClientTest;

UdpEndpoint Ipv6Loopback(std::uint16_t port) {
    std::array<std::uint8_t, 16> address{};
    address[15] = 1;
    return Ipv6Endpoint(address, port);
}

TEST_F(SntpClientTest, SendsToTheResolvedAddressAndReadsAtMost48Bytes) {
    EXPECT_EQ(sntp.BufferSize, 8192U);
    sntp.Host = "time.example";
    sntp.Port = 1123;
    socket.Server.Port = 1123;
    Serve();
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    EXPECT_EQ(socket.ResolvedHost, "time.example");
    EXPECT_EQ(socket.ResolvedPort, 1123);
    EXPECT_EQ(socket.SentTo, (std::vector<UdpEndpoint>{Ipv4Endpoint({127, 0, 0, 1}, 1123)}));
    ASSERT_EQ(socket.Sent.size(), 48U);
    EXPECT_EQ(socket.Sent[0], 0x1B);
    EXPECT_EQ(sntp.BufferSize, 48U);
    EXPECT_EQ(socket.ReceiveLimits, (std::vector<std::size_t>{48}));
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000}));
}

TEST_F(SntpClientTest, TakesTheReplyWithTheSmallestRoundTripOfThree) {
    // Each reply arrives after its own wait; the server's clock runs 2 s ahead, and the
    // second exchange, the quickest, sees it best.
    const int waits[] = {80, 20, 50};
    int n = 0;
    random.Step = 0x1234567;
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        const DateTime sent = clock.Now();
        testing::SntpReplyFields reply = fields;
        reply.Receive = sntp.ToNtpTimestamp(sent + (2000 + waits[n] / 2) * kOneMillisecond);
        reply.Transmit = reply.Receive;
        clock.Set(sent + waits[n] * kOneMillisecond);
        return std::vector<Datagram>{
            {Bytes(testing::MakeSntpReply(request, reply)), socket.Server, waits[n++]}};
    };
    ASSERT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    EXPECT_EQ(n, 3);
    EXPECT_NEAR(sntp.TripDelay() / kOneMillisecond, 20, 1e-3);
    EXPECT_NEAR(sntp.ClockOffset() / kOneMillisecond, 2000, 1e-3);
    // Three requests, each with an echo of its own, each after a wait for its turn.
    std::set<std::vector<std::uint8_t>> echoes(socket.Requests.begin(), socket.Requests.end());
    EXPECT_EQ(echoes.size(), 3U);
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 2100, 2820, 2100, 700}));
    ASSERT_EQ(setter.Calls.size(), 1U);
    EXPECT_NEAR(SetTo(setter.Calls[0]), clock.Now() + 2 * kOneSecond, kTolerance);
}

TEST_F(SntpClientTest, AllRepliesShareOneTimeLimit) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        return std::vector<Datagram>{
            {Bytes(testing::MakeSntpReply(request, fields)), socket.Server, 2000}};
    };
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    // The wait for the second request's turn counts too, and the third has no time left.
    EXPECT_EQ(socket.Requests.size(), 2U);
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 2100, 900}));
}

TEST_F(SntpClientTest, AKissOfDeathEndsTheSeries) {
    fields.Stratum = 0;
    Serve(4);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_EQ(socket.Requests.size(), 1U);
    EXPECT_TRUE(setter.Calls.empty());
}

TEST_F(SntpClientTest, OneGoodReplyAmongRejectedOnesIsUsed) {
    int n = 0;
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        testing::SntpReplyFields reply = fields;
        reply.Mode = ++n == 3 ? 4 : 5;
        return std::vector<Datagram>{
            {Bytes(testing::MakeSntpReply(request, reply)), socket.Server, 10}};
    };
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(setter.Calls.size(), 1U);
}

TEST_F(SntpClientTest, SilenceIsNoUsableReply) {
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_TRUE(setter.Calls.empty());
    // A silent server is asked once per query, not four times.
    EXPECT_EQ(socket.Requests.size(), 2U);
}

TEST_F(SntpClientTest, SkipsForgedDatagramsAndTakesTheRealReply) {
    fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(23, 59, 0, 0));
    testing::SntpReplyFields forged = fields;
    std::vector<Datagram> before;
    // A reply to some other request, and our own reply sent from elsewhere.
    NtpPacket otherRequest = BuildSntpRequest({12345, 678});
    before.push_back({Bytes(testing::MakeSntpReply(otherRequest, forged)), socket.Server, 400});
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        clock.Set(TimeOfDay(10, 0, 0, 100));
        NtpPacket genuine = testing::MakeSntpReply(request, fields);
        std::vector<Datagram> arriving = before;
        arriving.push_back({Bytes(genuine), Ipv4Endpoint({127, 0, 0, 1}, 124), 300});
        arriving.push_back({Bytes(genuine), Ipv4Endpoint({127, 0, 0, 2}, 123), 200});
        arriving.push_back({Bytes(genuine), Ipv6Loopback(123), 50});
        fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10));
        arriving.push_back({Bytes(testing::MakeSntpReply(request, fields)), socket.Server, 50});
        return arriving;
    };
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    // One overall time-out: each wait gets what is left of it.
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 4600, 4300, 4100, 4050}));
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
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{5000, 2000}));
}

TEST_F(SntpClientTest, AFloodOfForeignDatagramsEndsTheQuery) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        const Datagram foreign{Bytes(testing::MakeSntpReply(request, fields)),
                               Ipv4Endpoint({10, 0, 0, 9}, 123), 0};
        return std::vector<Datagram>(1000, foreign);
    };
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_LT(socket.ReceiveTimeouts.size(), 100U);
    EXPECT_TRUE(setter.Calls.empty());
}

TEST_F(SntpClientTest, TheAddressesAreTriedInTheResolversOrderEachWithItsShare) {
    const UdpEndpoint v6 = Ipv6Loopback(123);
    const UdpEndpoint v4 = Ipv4Endpoint({127, 0, 0, 1}, 123);
    socket.Addresses = {v6, v4};
    socket.Server = v4;
    socket.RespondOnlyTo = v4;
    socket.Clock = &clock; // the silent address's wait passes, so the next one's turn has come
    Serve();
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    EXPECT_EQ(socket.SentTo, (std::vector<UdpEndpoint>{v6, v4}));
    EXPECT_EQ(socket.ReceiveTimeouts, (std::vector<int>{2500, 2500}));

    // The first address answering, the second one is never asked.
    socket.SentTo.clear();
    socket.Server = v6;
    socket.RespondOnlyTo = v6;
    Serve();
    EXPECT_NE(sntp.QueryServerTime(), 0);
    EXPECT_EQ(socket.SentTo, (std::vector<UdpEndpoint>{v6}));
}

TEST_F(SntpClientTest, AnAddressThatFailsIsPassedOver) {
    const UdpEndpoint v6 = Ipv6Loopback(123);
    const UdpEndpoint v4 = Ipv4Endpoint({127, 0, 0, 1}, 123);
    socket.Addresses = {v6, v4};
    socket.Server = v4;
    socket.SendError = "Socket Error # 10065\r\nNo route to host.";
    socket.SendErrorTo = v6;
    Serve();
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
    // All addresses failing, the error is raised; one merely silent, it is not.
    socket.Respond = nullptr;
    socket.SendErrorTo.reset();
    EXPECT_THROW(sntp.QueryServerTime(), std::runtime_error);
    EXPECT_FALSE(socket.IsOpen());
    socket.SendErrorTo = v6;
    EXPECT_EQ(sntp.QueryServerTime(), 0);
}

TEST_F(SntpClientTest, AnInterruptedQueryEndsWithoutAReply) {
    Serve();
    sntp.Interrupt();
    EXPECT_TRUE(socket.Interrupted);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_EQ(socket.Requests.size(), 1U);
    EXPECT_TRUE(setter.Calls.empty());
}

TEST_F(SntpClientTest, ActiveOpensAndClosesTheSocket) {
    EXPECT_FALSE(sntp.Active());
    sntp.SetActive(true);
    EXPECT_TRUE(socket.IsOpen());
    Serve(2);
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
    socket.ResolveError = "Socket Error # 11001\r\nHost not found.";
    sntp.SetActive(true);
    EXPECT_THROW(sntp.SyncClockToServer(), std::runtime_error);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_TRUE(setter.Calls.empty());

    socket.ResolveError.reset();
    socket.OpenError = true;
    EXPECT_THROW(sntp.QueryServerTime(), std::runtime_error);
    EXPECT_FALSE(socket.IsOpen());
}

} // namespace
} // namespace norvale
