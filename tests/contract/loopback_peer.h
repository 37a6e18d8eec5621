#pragma once

#include "core/platform/udp_socket.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace norvale::testing {

// The far end of a loopback exchange, on the platform's own sockets: a UDP socket bound to
// an unused port of 127.0.0.1, or of ::1.
class LoopbackPeer {
public:
    explicit LoopbackPeer(AddressFamily family = AddressFamily::IPv4);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    UdpEndpoint Endpoint() const;

    // One datagram of up to 1024 bytes and its sender, or nullopt after timeoutMs.
    std::optional<Datagram> Receive(int timeoutMs);
    // Sends to a port of the same loopback address.
    void SendTo(std::uint16_t port, std::span<const std::uint8_t> bytes);

private:
    AddressFamily FFamily;
    std::uintptr_t FHandle = 0;
    std::uint16_t FPort = 0;
};

} // namespace norvale::testing
