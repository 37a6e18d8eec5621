#include "win32/udp_socket_win32.h"

#include "core/net/socket_error.h"
#include "sockets/socket_address.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mswsock.h>
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

} // namespace

Win32UdpSocket::Win32UdpSocket()
    : FHandle(INVALID_SOCKET), FReadable(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      FInterrupt(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    WSADATA data;
    FStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0 && FReadable && FInterrupt;
}

Win32UdpSocket::~Win32UdpSocket() {
    Close();
    if (FStarted) {
        WSACleanup();
    }
    for (const HANDLE event : {FReadable, FInterrupt}) {
        if (event) {
            CloseHandle(event);
        }
    }
}

void Win32UdpSocket::Open() {
    if (!IsOpen()) {
        OpenFamily(AddressFamily::IPv4);
    }
}

void Win32UdpSocket::OpenFamily(AddressFamily family) {
    Close();
    const SOCKET handle = FStarted ? socket(family == AddressFamily::IPv6 ? AF_INET6 : AF_INET,
                                            SOCK_DGRAM, IPPROTO_UDP)
                                   : INVALID_SOCKET;
    if (handle == INVALID_SOCKET) {
        throw std::runtime_error(std::string(kCannotAllocateSocket));
    }
    // NOTE: Windows reports an ICMP "port unreachable" for an earlier datagram as
    // WSAECONNRESET on the next receive; a server that is not there is silence to us.
    BOOL report = FALSE;
    DWORD returned = 0;
    WSAIoctl(handle, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr,
             nullptr);
    // Datagrams signal FReadable; the socket no longer blocks.
    if (WSAEventSelect(handle, FReadable, FD_READ) == SOCKET_ERROR) {
        const int code = WSAGetLastError();
        closesocket(handle);
        RaiseSocketError(code);
    }
    FHandle = handle;
    FFamily = family;
}

void Win32UdpSocket::Close() {
    if (IsOpen()) {
        closesocket(FHandle);
        FHandle = INVALID_SOCKET;
        ResetEvent(FReadable);
    }
}

bool Win32UdpSocket::IsOpen() const {
    return FHandle != INVALID_SOCKET;
}

std::vector<UdpEndpoint> Win32UdpSocket::Resolve(std::string_view host, std::uint16_t port) {
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    ADDRINFOW* found = nullptr;
    const int resolved = GetAddrInfoW(ToWide(host).c_str(), nullptr, &hints, &found);
    if (resolved != 0) {
        RaiseSocketError(resolved);
    }
    const std::unique_ptr<ADDRINFOW, decltype(&FreeAddrInfoW)> owner(found, FreeAddrInfoW);
    std::vector<UdpEndpoint> addresses = sockets::ResolvedEndpoints(found, port);
    if (addresses.empty()) {
        RaiseSocketError(WSAHOST_NOT_FOUND);
    }
    return addresses;
}

void Win32UdpSocket::SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) {
        RaiseSocketError(WSAENOTSOCK);
    }
    if (to.Family != FFamily) {
        OpenFamily(to.Family);
    }
    sockaddr_storage address;
    const int size = sockets::ToSockaddr(to, address);
    if (sendto(FHandle, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
               0, reinterpret_cast<const sockaddr*>(&address), size) == SOCKET_ERROR) {
        RaiseSocketError(WSAGetLastError());
    }
}

std::optional<Datagram> Win32UdpSocket::Receive(std::size_t maxBytes, int timeoutMs) {
    if (!IsOpen()) {
        RaiseSocketError(WSAENOTSOCK);
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::milliseconds(std::max(timeoutMs, 0));
    Datagram datagram;
    for (;;) {
        if (WaitForSingleObject(FInterrupt, 0) == WAIT_OBJECT_0) {
            return std::nullopt;
        }
        datagram.Bytes.resize(maxBytes);
        sockaddr_storage from{};
        int fromSize = sizeof from;
        ResetEvent(FReadable);
        int received =
            recvfrom(FHandle, reinterpret_cast<char*>(datagram.Bytes.data()),
                     static_cast<int>(maxBytes), 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received != SOCKET_ERROR || WSAGetLastError() == WSAEMSGSIZE) {
            // NOTE: Winsock reports a datagram longer than the buffer as WSAEMSGSIZE, with the
            // buffer filled and the rest discarded; it is read as the cut datagram it is.
            if (received == SOCKET_ERROR) {
                received = static_cast<int>(maxBytes);
            }
            datagram.Bytes.resize(static_cast<std::size_t>(received));
            datagram.From = sockets::ToEndpoint(from);
            const auto waited = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
            datagram.WaitedMs = static_cast<int>(waited.count());
            return datagram;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            RaiseSocketError(WSAGetLastError());
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        const HANDLE events[] = {FInterrupt, FReadable};
        if (WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(left.count())) ==
            WAIT_TIMEOUT) {
            return std::nullopt;
        }
    }
}

void Win32UdpSocket::Interrupt() {
    SetEvent(FInterrupt);
}

} // namespace norvale::win32
