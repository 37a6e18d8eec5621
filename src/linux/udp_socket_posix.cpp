#include "linux/udp_socket_posix.h"

#include "core/net/socket_error.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace norvale::linux_adapter {
namespace {

[[noreturn]] void RaiseSocketError(int code, const char* description) {
    throw std::runtime_error(SocketErrorText(code, description));
}

[[noreturn]] void RaiseErrno() {
    const int code = errno;
    RaiseSocketError(code, std::strerror(code));
}

UdpEndpoint ToEndpoint(const sockaddr_in& address) {
    UdpEndpoint endpoint;
    std::memcpy(endpoint.Address.data(), &address.sin_addr, endpoint.Address.size());
    endpoint.Port = ntohs(address.sin_port);
    return endpoint;
}

} // namespace

void PosixUdpSocket::Open() {
    if (IsOpen()) {
        return;
    }
    FHandle = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (FHandle < 0) {
        throw std::runtime_error(std::string(kCannotAllocateSocket));
    }
}

void PosixUdpSocket::Close() {
    if (IsOpen()) {
        close(FHandle);
        FHandle = -1;
    }
}

UdpEndpoint PosixUdpSocket::SendTo(std::string_view host, std::uint16_t port,
                                   std::span<const std::uint8_t> bytes) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int resolved = getaddrinfo(std::string(host).c_str(), nullptr, &hints, &found);
    if (resolved != 0) {
        RaiseSocketError(resolved, gai_strerror(resolved));
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    address.sin_port = htons(port);
    if (sendto(FHandle, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
               sizeof address) < 0) {
        RaiseErrno();
    }
    return ToEndpoint(address);
}

std::optional<Datagram> PosixUdpSocket::Receive(std::size_t maxBytes, int timeoutMs) {
    if (!IsOpen()) {
        // NOTE: poll ignores a negative descriptor and would just time out.
        RaiseSocketError(EBADF, std::strerror(EBADF));
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    pollfd waiting{FHandle, POLLIN, 0};
    int ready = 0;
    while ((ready = poll(&waiting, 1, timeoutMs < 0 ? 0 : timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready < 0) {
        RaiseErrno();
    }
    if (ready == 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.Bytes.resize(maxBytes);
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    // A datagram longer than the buffer is cut to it; the rest is discarded.
    const ssize_t received = recvfrom(FHandle, datagram.Bytes.data(), maxBytes, 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (received < 0) {
        RaiseErrno();
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    datagram.From = ToEndpoint(from);
    const auto waited = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
    datagram.WaitedMs = static_cast<int>(waited.count());
    return datagram;
}

} // namespace norvale::linux_adapter
