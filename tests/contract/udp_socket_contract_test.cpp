#include "contract/loopback_peer.h"
#include "contract/platform_udp_socket.h"

#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <thread>

// What every UdpSocket adapter must do, checked against the platform's own sockets on
// loopback, over IPv4 and IPv6.

namespace norvale::testing {
namespace {

using Clock = std::chrono::steady_clock;

class UdpSocketContract : public ::testing::TestWithParam<AddressFamily> {
protected:
    // The loopback address of the family under test, as the resolver gives it.
    UdpEndpoint PeerAddress() {
        const char* host = GetParam() == AddressFamily::IPv6 ? "::1" : "127.0.0.1";
        const std::vector<UdpEndpoint> found = socket->Resolve(host, peer.Endpoint().Port);
        EXPECT_EQ(found.size(), 1U) << host;
        return found.empty() ? UdpEndpoint{} : found.front();
    }

    std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    LoopbackPeer peer{GetParam()};
    const std::vector<std::uint8_t> request = std::vector<std::uint8_t>(48, 0x1B);
};

TEST_P(UdpSocketContract, OpensAndClosesAnyNumberOfTimes) {
    EXPECT_FALSE(socket->IsOpen());
    socket->Open();
    EXPECT_TRUE(socket->IsOpen());
    socket->Close();
    socket->Close();
    EXPECT_FALSE(socket->IsOpen());
    socket->Open();
    EXPECT_TRUE(socket->IsOpen());
}

TEST_P(UdpSocketContract, ResolvesTheLoopbackAddressWithThePort) {
    EXPECT_EQ(PeerAddress(), peer.Endpoint());
}

TEST_P(UdpSocketContract, SendsAndReceivesTheAnswerWithItsSender) {
    socket->Open();
    socket->SendTo(PeerAddress(), request);
    const std::optional<Datagram> arrived = peer.Receive(2000);
    ASSERT_TRUE(arrived);
    EXPECT_EQ(arrived->Bytes, request);
    EXPECT_EQ(arrived->From.Family, GetParam());

    const std::vector<std::uint8_t> answer(48, 0x24);
    peer.SendTo(arrived->From.Port, answer);
    const std::optional<Datagram> reply = socket->Receive(48, 2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Bytes, answer);
    EXPECT_EQ(reply->From, peer.Endpoint());
    EXPECT_GE(reply->WaitedMs, 0);
    EXPECT_LT(reply->WaitedMs, 2000);
}

TEST_P(UdpSocketContract, ALongerDatagramIsCutToTheBuffer) {
    socket->Open();
    socket->SendTo(PeerAddress(), request);
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

TEST_P(UdpSocketContract, TellsWhoSentADatagram) {
    LoopbackPeer stranger(GetParam());
    socket->Open();
    socket->SendTo(PeerAddress(), request);
    const std::optional<Datagram> arrived = peer.Receive(2000);
    ASSERT_TRUE(arrived);
    stranger.SendTo(arrived->From.Port, request);
    const std::optional<Datagram> reply = socket->Receive(48, 2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->From, stranger.Endpoint());
    EXPECT_NE(reply->From, peer.Endpoint());
}

TEST_P(UdpSocketContract, WaitsNoLongerThanTheTimeOut) {
    socket->Open();
    socket->SendTo(PeerAddress(), request);
    const auto start = Clock::now();
    EXPECT_FALSE(socket->Receive(48, 150));
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_LT(waited, std::chrono::milliseconds(2000));
}

TEST_P(UdpSocketContract, AnInterruptEndsAWaitAtOnceAndEveryLaterOne) {
    socket->Open();
    socket->SendTo(PeerAddress(), request);
    const auto start = Clock::now();
    std::thread interrupter([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        socket->Interrupt();
    });
    EXPECT_FALSE(socket->Receive(48, 10'000));
    interrupter.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3000));
    // A datagram that is waiting is not read any more either.
    const std::optional<Datagram> arrived = peer.Receive(2000);
    ASSERT_TRUE(arrived);
    peer.SendTo(arrived->From.Port, request);
    const auto again = Clock::now();
    EXPECT_FALSE(socket->Receive(48, 10'000));
    EXPECT_LT(Clock::now() - again, std::chrono::milliseconds(3000));
}

TEST_P(UdpSocketContract, FailuresRaiseTheSocketErrorText) {
    // Never opened: the platform refuses the operation on no socket.
    try {
        socket->Receive(48, 10);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Socket Error # ", 0), 0U) << error.what();
    }
    EXPECT_THROW(socket->SendTo(peer.Endpoint(), request), std::runtime_error);
}

std::string FamilyName(const ::testing::TestParamInfo<AddressFamily>& info) {
    return info.param == AddressFamily::IPv6 ? "IPv6" : "IPv4";
}

INSTANTIATE_TEST_SUITE_P(Loopback, UdpSocketContract,
                         ::testing::Values(AddressFamily::IPv4, AddressFamily::IPv6), FamilyName);

TEST(UdpSocketFamilies, ASocketSwitchesToTheDestinationsFamily) {
    const std::unique_ptr<UdpSocket> socket = MakePlatformUdpSocket();
    LoopbackPeer v4(AddressFamily::IPv4);
    LoopbackPeer v6(AddressFamily::IPv6);
    socket->Open();
    const std::vector<std::uint8_t> bytes(48, 3);
    for (LoopbackPeer* peer : {&v6, &v4, &v6}) {
        socket->SendTo(peer->Endpoint(), bytes);
        const std::optional<Datagram> arrived = peer->Receive(2000);
        ASSERT_TRUE(arrived);
        peer->SendTo(arrived->From.Port, bytes);
        const std::optional<Datagram> reply = socket->Receive(48, 2000);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->From, peer->Endpoint());
    }
}

} // namespace
} // namespace norvale::testing
