#include "contract/loopback_peer.h"

#ifdef _WIN32
#include <winsock2.h>
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

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

} // namespace

LoopbackPeer::LoopbackPeer() {
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        throw std::runtime_error("WSAStartup failed");
    }
#endif
    const Handle handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address = LoopbackAddress(0);
    AddressSize size = sizeof address;
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        CloseHandle(handle);
        throw std::runtime_error("cannot bind a loopback socket");
    }
    FHandle = static_cast<std::uintptr_t>(handle);
    FPort = ntohs(address.sin_port);
}

LoopbackPeer::~LoopbackPeer() {
    CloseHandle(static_cast<Handle>(FHandle));
#ifdef _WIN32
    WSACleanup();
#endif
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
    sockaddr_in from{};
    AddressSize size = sizeof from;
    const auto received = recvfrom(
        static_cast<Handle>(FHandle), reinterpret_cast<char*>(datagram.Bytes.data()),
        static_cast<int>(datagram.Bytes.size()), 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (received < 0) {
        return std::nullopt;
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    std::memcpy(datagram.From.Address.data(), &from.sin_addr, 4);
    datagram.From.Port = ntohs(from.sin_port);
    return datagram;
}

void LoopbackPeer::SendTo(std::uint16_t port, std::span<const std::uint8_t> bytes) {
    const sockaddr_in address = LoopbackAddress(port);
    sendto(static_cast<Handle>(FHandle), reinterpret_cast<const char*>(bytes.data()),
           static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&address),
           sizeof address);
}

} // namespace norvale::testing
