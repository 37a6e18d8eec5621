#pragma once

#include "core/net/socket_error.h"
#include "core/platform/udp_socket.h"
#include "support/fake_clock.h"

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvale::testing {

// A socket whose peer is the test: a responder sees each request and its destination and
// queues what "arrives"; errors can be injected at every step.
class FakeUdpSocket final : public UdpSocket {
public:
    using Responder = std::function<std::vector<Datagram>(std::span<const std::uint8_t>)>;

    void Open() override {
        if (OpenError) {
            throw std::runtime_error(std::string(kCannotAllocateSocket));
        }
        FOpen = true;
        ++OpenCount;
    }
    void Close() override { FOpen = false; }
    bool IsOpen() const override { return FOpen; }

    // The addresses as the test set them, whatever the port asked.
    std::vector<UdpEndpoint> Resolve(std::string_view host, std::uint16_t port) override {
        if (ResolveError) {
            throw std::runtime_error(*ResolveError);
        }
        ResolvedHost = host;
        ResolvedPort = port;
        return Addresses.empty() ? std::vector<UdpEndpoint>{Server} : Addresses;
    }

    void SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) override {
        if (!FOpen) {
            throw std::logic_error("send on a closed socket");
        }
        SentTo.push_back(to);
        if (SendError && (!SendErrorTo || *SendErrorTo == to)) {
            throw std::runtime_error(*SendError);
        }
        Sent.assign(bytes.begin(), bytes.end());
        Requests.push_back(Sent);
        if (Respond && (!RespondOnlyTo || *RespondOnlyTo == to)) {
            for (Datagram& datagram : Respond(bytes)) {
                Incoming.push_back(std::move(datagram));
            }
        }
    }

    std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) override {
        if (!FOpen) {
            throw std::logic_error("receive on a closed socket");
        }
        ReceiveLimits.push_back(maxBytes);
        ReceiveTimeouts.push_back(timeoutMs);
        if (ReceiveError) {
            throw std::runtime_error(*ReceiveError);
        }
        if (Interrupted || Incoming.empty()) {
            if (Clock && !Interrupted) {
                Clock->AdvanceSeconds(timeoutMs / 1000.0);
            }
            return std::nullopt;
        }
        Datagram datagram = std::move(Incoming.front());
        Incoming.pop_front();
        if (datagram.Bytes.size() > maxBytes) {
            datagram.Bytes.resize(maxBytes);
        }
        return datagram;
    }

    void Interrupt() override { Interrupted = true; }

    // The one address the server's name resolves to, unless Addresses lists several.
    UdpEndpoint Server = Ipv4Endpoint({127, 0, 0, 1}, 123);
    std::vector<UdpEndpoint> Addresses;
    Responder Respond;
    // When set, only requests to this address are answered.
    std::optional<UdpEndpoint> RespondOnlyTo;
    std::deque<Datagram> Incoming;
    std::optional<std::string> ResolveError;
    std::optional<std::string> SendError;
    // When set, only sends to this address fail with SendError.
    std::optional<UdpEndpoint> SendErrorTo;
    std::optional<std::string> ReceiveError;
    bool OpenError = false;
    bool Interrupted = false;
    // When set, waiting takes time on this clock: a Receive with nothing to deliver lasts its
    // whole time-out, as a real socket's does. A datagram's wait is the responder's to play.
    FakeClock* Clock = nullptr;

    int OpenCount = 0;
    std::string ResolvedHost;
    std::uint16_t ResolvedPort = 0;
    std::vector<UdpEndpoint> SentTo;
    std::vector<std::uint8_t> Sent;
    std::vector<std::vector<std::uint8_t>> Requests;
    std::vector<std::size_t> ReceiveLimits;
    std::vector<int> ReceiveTimeouts;

private:
    bool FOpen = false;
};

} // namespace norvale::testing
