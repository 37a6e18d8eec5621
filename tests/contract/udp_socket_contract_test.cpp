#include "contract/loopback_peer.h"
#include "contract/platform_udp_socket.h"

#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

// What every UdpSocket adapter must do, checked against the platform's own sockets on
// loopback.

namespace norvale::testing {
namespace {

class UdpSocketContract : public ::testing::Test {
protected:
    std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    LoopbackPeer peer;
    const std::vector<std::uint8_t> request = std::vector<std::uint8_t>(48, 0x1B);
};

TEST_F(UdpSocketContract, OpensAndClosesAnyNumberOfTimes) {
    EXPECT_FALSE(socket->IsOpen());
    socket->Open();
    EXPECT_TRUE(socket->IsOpen());
    socket->Close();
    socket->Close();
    EXPECT_FALSE(socket->IsOpen());
    socket->Open();
    EXPECT_TRUE(socket->IsOpen());
}

TEST_F(UdpSocketContract, SendsToTheResolvedAddressAndReceivesTheAnswer) {
    socket->Open();
    for (const char* host : {"127.0.0.1", "localhost"}) {
        const UdpEndpoint sentTo = socket->SendTo(host, peer.Endpoint().Port, request);
        EXPECT_EQ(sentTo, peer.Endpoint()) << host;
        const std::optional<Datagram> arrived = peer.Receive(2000);
        ASSERT_TRUE(arrived) << host;
        EXPECT_EQ(arrived->Bytes, request);

        const std::vector<std::uint8_t> answer(48, 0x24);
        peer.SendTo(arrived->From.Port, answer);
        const std::optional<Datagram> reply = socket->Receive(48, 2000);
        ASSERT_TRUE(reply) << host;
        EXPECT_EQ(reply->Bytes, answer);
        EXPECT_EQ(reply->From, peer.Endpoint());
        EXPECT_GE(reply->WaitedMs, 0);
        EXPECT_LT(reply->WaitedMs, 2000);
    }
}

TEST_F(UdpSocketContract, ALongerDatagramIsCutToTheBuffer) {
    socket->Open();
    socket->SendTo("127.0.0.1", peer.Endpoint().Port, request);
    const std::optional<Datagram> arrived = peer.Receive(2000);
    ASSERT_TRUE(arrived);
    std::vector<std::uint8_t> answer(68);
    for (std::size_t i = 0; i < answer.size(); ++i) {
        answer[i] = static_cast<std::uint8_t>(i);
    }
    peer.SendTo(arrived->From.Port, answer);
    peer.SendTo(arrived->From.Port, std::vector<std::uint8_t>(47, 7));
    const std::optional<Datagram> first = socket->Receive(48, 2000);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Bytes, std::vector<std::uint8_t>(answer.begin(), answer.begin() + 48));
    // The rest of the long one is gone, not read as the next datagram.
    const std::optional<Datagram> second = socket->Receive(48, 2000);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Bytes, std::vector<std::uint8_t>(47, 7));
}

TEST_F(UdpSocketContract, TellsWhoSentADatagram) {
    LoopbackPeer stranger;
    socket->Open();
    socket->SendTo("127.0.0.1", peer.Endpoint().Port, request);
    const std::optional<Datagram> arrived = peer.Receive(2000);
    ASSERT_TRUE(arrived);
    stranger.SendTo(arrived->From.Port, request);
    const std::optional<Datagram> reply = socket->Receive(48, 2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->From, stranger.Endpoint());
    EXPECT_NE(reply->From, peer.Endpoint());
}

TEST_F(UdpSocketContract, WaitsNoLongerThanTheTimeOut) {
    socket->Open();
    socket->SendTo("127.0.0.1", peer.Endpoint().Port, request);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(socket->Receive(48, 150));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_LT(waited, std::chrono::milliseconds(2000));
}

TEST_F(UdpSocketContract, FailuresRaiseTheSocketErrorText) {
    // Never opened: the platform refuses the operation on no socket.
    try {
        socket->Receive(48, 10);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Socket Error # ", 0), 0U) << error.what();
    }
    EXPECT_THROW(socket->SendTo("127.0.0.1", peer.Endpoint().Port, request), std::runtime_error);
}

} // namespace
} // namespace norvale::testing
