#include "win32/udp_socket_win32.h"

#include "core/net/socket_error.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace norvale::win32 {
namespace {

static_assert(sizeof(SOCKET) == sizeof(std::uintptr_t));

[[noreturn]] void RaiseSocketError(int code) {
    throw std::runtime_error(WinsockErrorText(code));
}

UdpEndpoint ToEndpoint(const sockaddr_in& address) {
    UdpEndpoint endpoint;
    std::memcpy(endpoint.Address.data(), &address.sin_addr, endpoint.Address.size());
    endpoint.Port = ntohs(address.sin_port);
    return endpoint;
}

} // namespace

Win32UdpSocket::Win32UdpSocket() : FHandle(INVALID_SOCKET) {
    WSADATA data;
    FStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32UdpSocket::~Win32UdpSocket() {
    Close();
    if (FStarted) {
        WSACleanup();
    }
}

void Win32UdpSocket::Open() {
    if (IsOpen()) {
        return;
    }
    const SOCKET handle = FStarted ? socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP) : INVALID_SOCKET;
    if (handle == INVALID_SOCKET) {
        throw std::runtime_error(std::string(kCannotAllocateSocket));
    }
    FHandle = handle;
}

void Win32UdpSocket::Close() {
    if (IsOpen()) {
        closesocket(FHandle);
        FHandle = INVALID_SOCKET;
    }
}

bool Win32UdpSocket::IsOpen() const {
    return FHandle != INVALID_SOCKET;
}

UdpEndpoint Win32UdpSocket::SendTo(std::string_view host, std::uint16_t port,
                                   std::span<const std::uint8_t> bytes) {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    ADDRINFOW* found = nullptr;
    const int resolved = GetAddrInfoW(ToWide(host).c_str(), nullptr, &hints, &found);
    if (resolved != 0) {
        RaiseSocketError(resolved);
    }
    const std::unique_ptr<ADDRINFOW, decltype(&FreeAddrInfoW)> owner(found, FreeAddrInfoW);
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    address.sin_port = htons(port);
    if (sendto(FHandle, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
               0, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
        RaiseSocketError(WSAGetLastError());
    }
    return ToEndpoint(address);
}

std::optional<Datagram> Win32UdpSocket::Receive(std::size_t maxBytes, int timeoutMs) {
    if (!IsOpen()) {
        RaiseSocketError(WSAENOTSOCK);
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(FHandle, &readable);
    const int wait = timeoutMs < 0 ? 0 : timeoutMs;
    timeval limit{wait / 1000, (wait % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, &limit);
    if (ready == SOCKET_ERROR) {
        RaiseSocketError(WSAGetLastError());
    }
    if (ready == 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.Bytes.resize(maxBytes);
    sockaddr_in from{};
    int fromSize = sizeof from;
    int received =
        recvfrom(FHandle, reinterpret_cast<char*>(datagram.Bytes.data()),
                 static_cast<int>(maxBytes), 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (received == SOCKET_ERROR) {
        // NOTE: Winsock reports a datagram longer than the buffer as WSAEMSGSIZE, with the
        // buffer filled and the rest discarded; it is read as the cut datagram it is.
        const int code = WSAGetLastError();
        if (code != WSAEMSGSIZE) {
            RaiseSocketError(code);
        }
        received = static_cast<int>(maxBytes);
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    datagram.From = ToEndpoint(from);
    const auto waited = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
    datagram.WaitedMs = static_cast<int>(waited.count());
    return datagram;
}

} // namespace norvale::win32
