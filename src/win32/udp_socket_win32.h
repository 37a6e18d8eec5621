#pragma once

#include "core/platform/udp_socket.h"

#include <cstdint>

namespace norvale::win32 {

// The UdpSocket port on Winsock 2: an IPv4 datagram socket.
class Win32UdpSocket final : public UdpSocket {
public:
    Win32UdpSocket();
    ~Win32UdpSocket() override;
    Win32UdpSocket(const Win32UdpSocket&) = delete;
    Win32UdpSocket& operator=(const Win32UdpSocket&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    UdpEndpoint SendTo(std::string_view host, std::uint16_t port,
                       std::span<const std::uint8_t> bytes) override;
    std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) override;

private:
    bool FStarted = false;
    std::uintptr_t FHandle; // a SOCKET, kept out of this header
};

} // namespace norvale::win32
