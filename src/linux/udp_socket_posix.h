#pragma once

#include "core/platform/udp_socket.h"

namespace norvale::linux_adapter {

// The UdpSocket port on POSIX sockets, for the Linux tests and tools: one socket, of the
// address family the last datagram went to.
class PosixUdpSocket final : public UdpSocket {
public:
    PosixUdpSocket();
    ~PosixUdpSocket() override;
    PosixUdpSocket(const PosixUdpSocket&) = delete;
    PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override { return FHandle >= 0; }
    std::vector<UdpEndpoint> Resolve(std::string_view host, std::uint16_t port) override;
    void SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) override;
    std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) override;
    void Interrupt() override;

private:
    void OpenFamily(AddressFamily family);

    int FHandle = -1;
    AddressFamily FFamily = AddressFamily::IPv4;
    int FInterrupt = -1; // an eventfd, readable once interrupted
};

} // namespace norvale::linux_adapter
