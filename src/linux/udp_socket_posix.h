#pragma once

#include "core/platform/udp_socket.h"

namespace norvale::linux_adapter {

// The UdpSocket port on POSIX sockets, for the Linux tests and tools.
class PosixUdpSocket final : public UdpSocket {
public:
    PosixUdpSocket() = default;
    ~PosixUdpSocket() override { Close(); }
    PosixUdpSocket(const PosixUdpSocket&) = delete;
    PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override { return FHandle >= 0; }
    UdpEndpoint SendTo(std::string_view host, std::uint16_t port,
                       std::span<const std::uint8_t> bytes) override;
    std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) override;

private:
    int FHandle = -1;
};

} // namespace norvale::linux_adapter
