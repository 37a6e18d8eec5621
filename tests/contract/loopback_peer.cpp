#include "contract/loopback_peer.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>
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

// The loopback address of a family, with a port.
AddressSize LoopbackAddress(AddressFamily family, std::uint16_t port, sockaddr_storage& address) {
    address = {};
    if (family == AddressFamily::IPv6) {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
        v6.sin6_family = AF_INET6;
        v6.sin6_addr = in6addr_loopback;
        v6.sin6_port = htons(port);
        return sizeof v6;
    }
    auto& v4 = reinterpret_cast<sockaddr_in&>(address);
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    v4.sin_port = htons(port);
    return sizeof v4;
}

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
    AddressSize size = LoopbackAddress(family, 0, address);
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        CloseHandle(handle);
        throw std::runtime_error("cannot bind a loopback socket");
    }
    FHandle = static_cast<std::uintptr_t>(handle);
    // The port sits at the same place in both address structures.
    FPort = ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
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
    datagram.From = Endpoint();
    datagram.From.Port = ntohs(reinterpret_cast<const sockaddr_in&>(from).sin_port);
    if (from.ss_family == AF_INET6) {
        std::memcpy(datagram.From.Address.data(),
                    &reinterpret_cast<const sockaddr_in6&>(from).sin6_addr, 16);
    } else {
        std::memcpy(datagram.From.Address.data(),
                    &reinterpret_cast<const sockaddr_in&>(from).sin_addr, 4);
    }
    return datagram;
}

void LoopbackPeer::SendTo(std::uint16_t port, std::span<const std::uint8_t> bytes) {
    sockaddr_storage address;
    const AddressSize size = LoopbackAddress(FFamily, port, address);
    sendto(static_cast<Handle>(FHandle), reinterpret_cast<const char*>(bytes.data()),
           static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&address), size);
}

} // namespace norvale::testing
