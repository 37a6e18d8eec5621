#include "contract/loopback_peer.h"

#include "sockets/socket_address.h"

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

#include <stdexcept>

namespace norvale::testing {
namespace {

#ifdef _WIN32
using Handle = SOCKET;
using AddressSize = int;
int PollSockets(pollfd* waiting, int timeoutMs) {
    return WSAPoll(waiting, 1, timeoutMs);
}
void CloseHandle(Handle handle) {
    closesocket(handle);
}
#else
using Handle = int;
using AddressSize = socklen_t;
int PollSockets(pollfd* waiting, int timeoutMs) {
    return poll(waiting, 1, timeoutMs);
}
void CloseHandle(Handle handle) {
    close(handle);
}
#endif

} // namespace

LoopbackPeer::LoopbackPeer(AddressFamily family) : FFamily(family) {
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        throw std::runtime_error("WSAStartup failed");
    }
#endif
    const Handle handle =
        socket(family == AddressFamily::IPv6 ? AF_INET6 : AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_storage address;
    auto size = static_cast<AddressSize>(sockets::ToSockaddr(Endpoint(), address));
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        CloseHandle(handle);
        throw std::runtime_error("cannot bind a loopback socket");
    }
    FHandle = static_cast<std::uintptr_t>(handle);
    FPort = sockets::ToEndpoint(address).Port;
}

LoopbackPeer::~LoopbackPeer() {
    CloseHandle(static_cast<Handle>(FHandle));
#ifdef _WIN32
    WSACleanup();
#endif
}

UdpEndpoint LoopbackPeer::Endpoint() const {
    if (FFamily == AddressFamily::IPv6) {
        std::array<std::uint8_t, 16> loopback{};
        loopback[15] = 1;
        return Ipv6Endpoint(loopback, FPort);
    }
    return Ipv4Endpoint({127, 0, 0, 1}, FPort);
}

std::optional<Datagram> LoopbackPeer::Receive(int timeoutMs) {
    pollfd waiting{};
    waiting.fd = static_cast<Handle>(FHandle);
    waiting.events = POLLIN;
    if (PollSockets(&waiting, timeoutMs) <= 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.Bytes.resize(1024);
    sockaddr_storage from{};
    AddressSize size = sizeof from;
    const auto received = recvfrom(
        static_cast<Handle>(FHandle), reinterpret_cast<char*>(datagram.Bytes.data()),
        static_cast<int>(datagram.Bytes.size()), 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (received < 0) {
        return std::nullopt;
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    datagram.From = sockets::ToEndpoint(from);
    return datagram;
}

void LoopbackPeer::SendTo(std::uint16_t port, std::span<const std::uint8_t> bytes) {
    UdpEndpoint to = Endpoint();
    to.Port = port;
    sockaddr_storage address;
    const auto size = static_cast<AddressSize>(sockets::ToSockaddr(to, address));
    sendto(static_cast<Handle>(FHandle), reinterpret_cast<const char*>(bytes.data()),
           static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&address), size);
}

} // namespace norvale::testing
