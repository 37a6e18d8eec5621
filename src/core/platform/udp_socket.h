#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace norvale {

enum class AddressFamily : std::uint8_t { IPv4, IPv6 };

// An IPv4 or IPv6 address and a UDP port, in the order they appear on the wire. An IPv4
// address fills the first four bytes; the others stay zero.
struct UdpEndpoint {
    AddressFamily Family = AddressFamily::IPv4;
    std::array<std::uint8_t, 16> Address{};
    std::uint16_t Port = 0;

    friend bool operator==(const UdpEndpoint&, const UdpEndpoint&) = default;
};

inline UdpEndpoint Ipv4Endpoint(std::array<std::uint8_t, 4> address, std::uint16_t port) {
    UdpEndpoint endpoint{AddressFamily::IPv4, {}, port};
    std::copy(address.begin(), address.end(), endpoint.Address.begin());
    return endpoint;
}

inline UdpEndpoint Ipv6Endpoint(std::array<std::uint8_t, 16> address, std::uint16_t port) {
    return {AddressFamily::IPv6, address, port};
}

// One datagram as received: at most the bytes asked for, its sender, and how long the wait
// for it took, so that a caller skipping foreign datagrams can keep to one overall time-out.
struct Datagram {
    std::vector<std::uint8_t> Bytes;
    UdpEndpoint From;
    int WaitedMs = 0;
};

// A datagram socket for IPv4 and IPv6. Failures raise std::runtime_error with the socket
// layer's texts ("Cannot allocate socket." or "Socket Error # %d\r\n%s"); a time-out is not
// a failure. Only Interrupt may be called from another thread than the one using the socket.
class UdpSocket {
public:
    virtual ~UdpSocket() = default;

    virtual void Open() = 0;
    // Closing a closed socket does nothing.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // The addresses of a host name or address literal, in the order the resolver gives them,
    // each with the port.
    virtual std::vector<UdpEndpoint> Resolve(std::string_view host, std::uint16_t port) = 0;

    // Sends one datagram from an open socket, of the destination's address family.
    virtual void SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) = 0;

    // Waits up to timeoutMs for one datagram and reads at most maxBytes of it (a longer one
    // is cut to maxBytes); nullopt when nothing arrived in time or the socket was interrupted.
    virtual std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) = 0;

    // Ends a wait in Receive at once, from any thread, and makes every later Receive return
    // at once too: for stopping work that must not outlive its owner.
    virtual void Interrupt() = 0;
};

} // namespace norvale
