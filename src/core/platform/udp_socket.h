#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace norvale {

// An IPv4 address and UDP port, in the order they appear on the wire.
struct UdpEndpoint {
    std::array<std::uint8_t, 4> Address{};
    std::uint16_t Port = 0;

    friend bool operator==(const UdpEndpoint&, const UdpEndpoint&) = default;
};

// One datagram as received: at most the bytes asked for, its sender, and how long the wait
// for it took, so that a caller skipping foreign datagrams can keep to one overall time-out.
struct Datagram {
    std::vector<std::uint8_t> Bytes;
    UdpEndpoint From;
    int WaitedMs = 0;
};

// An IPv4 datagram socket. Failures raise std::runtime_error with the socket layer's texts
// ("Cannot allocate socket." or "Socket Error # %d\r\n%s"); a time-out is not a failure.
class UdpSocket {
public:
    virtual ~UdpSocket() = default;

    virtual void Open() = 0;
    // Closing a closed socket does nothing.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Resolves the host name and sends one datagram; returns the address it went to.
    virtual UdpEndpoint SendTo(std::string_view host, std::uint16_t port,
                               std::span<const std::uint8_t> bytes) = 0;

    // Waits up to timeoutMs for one datagram and reads at most maxBytes of it (a longer one
    // is cut to maxBytes); nullopt when nothing arrived in time.
    virtual std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) = 0;
};

} // namespace norvale
