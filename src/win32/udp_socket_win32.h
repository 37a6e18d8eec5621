#pragma once

#include "core/platform/udp_socket.h"
#include "win32/win32_common.h"

#include <cstdint>

namespace norvale::win32 {

// The UdpSocket port on Winsock 2: one datagram socket, of the address family the last
// datagram went to, waited on with events so that another thread can end a wait.
class Win32UdpSocket final : public UdpSocket {
public:
    Win32UdpSocket();
    ~Win32UdpSocket() override;
    Win32UdpSocket(const Win32UdpSocket&) = delete;
    Win32UdpSocket& operator=(const Win32UdpSocket&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    std::vector<UdpEndpoint> Resolve(std::string_view host, std::uint16_t port) override;
    void SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) override;
    std::optional<Datagram> Receive(std::size_t maxBytes, int timeoutMs) override;
    void Interrupt() override;

private:
    void OpenFamily(AddressFamily family);

    bool FStarted = false;
    std::uintptr_t FHandle; // a SOCKET, kept out of this header
    AddressFamily FFamily = AddressFamily::IPv4;
    HANDLE FReadable = nullptr;  // signalled by Winsock when a datagram is waiting
    HANDLE FInterrupt = nullptr; // signalled for good by Interrupt
};

} // namespace norvale::win32
