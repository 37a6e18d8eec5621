#pragma once

#include "core/net/socket_error.h"
#include "core/platform/udp_socket.h"

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvale::testing {

// A socket whose peer is the test: a responder sees each request and queues what "arrives";
// errors can be injected at every step.
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

    UdpEndpoint SendTo(std::string_view host, std::uint16_t port,
                       std::span<const std::uint8_t> bytes) override {
        if (!FOpen) {
            throw std::logic_error("send on a closed socket");
        }
        if (SendError) {
            throw std::runtime_error(*SendError);
        }
        SentHost = host;
        SentPort = port;
        Sent.assign(bytes.begin(), bytes.end());
        if (Respond) {
            for (Datagram& datagram : Respond(bytes)) {
                Incoming.push_back(std::move(datagram));
            }
        }
        return Server;
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
        if (Incoming.empty()) {
            return std::nullopt;
        }
        Datagram datagram = std::move(Incoming.front());
        Incoming.pop_front();
        if (datagram.Bytes.size() > maxBytes) {
            datagram.Bytes.resize(maxBytes);
        }
        return datagram;
    }

    UdpEndpoint Server{{127, 0, 0, 1}, 123};
    Responder Respond;
    std::deque<Datagram> Incoming;
    std::optional<std::string> SendError;
    std::optional<std::string> ReceiveError;
    bool OpenError = false;

    int OpenCount = 0;
    std::string SentHost;
    std::uint16_t SentPort = 0;
    std::vector<std::uint8_t> Sent;
    std::vector<std::size_t> ReceiveLimits;
    std::vector<int> ReceiveTimeouts;

private:
    bool FOpen = false;
};

} // namespace norvale::testing
