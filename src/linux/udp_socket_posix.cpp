#include "linux/udp_socket_posix.h"

#include "core/net/socket_error.h"
#include "sockets/socket_address.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/eventfd.h>
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

} // namespace

PosixUdpSocket::PosixUdpSocket() : FInterrupt(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

PosixUdpSocket::~PosixUdpSocket() {
    Close();
    if (FInterrupt >= 0) {
        close(FInterrupt);
    }
}

void PosixUdpSocket::Open() {
    if (!IsOpen()) {
        OpenFamily(AddressFamily::IPv4);
    }
}

void PosixUdpSocket::OpenFamily(AddressFamily family) {
    Close();
    FHandle = socket(family == AddressFamily::IPv6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_CLOEXEC,
                     IPPROTO_UDP);
    if (FHandle < 0) {
        throw std::runtime_error(std::string(kCannotAllocateSocket));
    }
    FFamily = family;
}

void PosixUdpSocket::Close() {
    if (IsOpen()) {
        close(FHandle);
        FHandle = -1;
    }
}

std::vector<UdpEndpoint> PosixUdpSocket::Resolve(std::string_view host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int resolved = getaddrinfo(std::string(host).c_str(), nullptr, &hints, &found);
    if (resolved != 0) {
        RaiseSocketError(resolved, gai_strerror(resolved));
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
    std::vector<UdpEndpoint> addresses = sockets::ResolvedEndpoints(found, port);
    if (addresses.empty()) {
        RaiseSocketError(EAI_NONAME, gai_strerror(EAI_NONAME));
    }
    return addresses;
}

void PosixUdpSocket::SendTo(const UdpEndpoint& to, std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) {
        RaiseSocketError(EBADF, std::strerror(EBADF));
    }
    if (to.Family != FFamily) {
        OpenFamily(to.Family);
    }
    sockaddr_storage address;
    const auto size = static_cast<socklen_t>(sockets::ToSockaddr(to, address));
    if (sendto(FHandle, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
               size) < 0) {
        RaiseErrno();
    }
}

std::optional<Datagram> PosixUdpSocket::Receive(std::size_t maxBytes, int timeoutMs) {
    if (!IsOpen()) {
        // NOTE: poll ignores a negative descriptor and would just time out.
        RaiseSocketError(EBADF, std::strerror(EBADF));
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    pollfd waiting[2] = {{FHandle, POLLIN, 0}, {FInterrupt, POLLIN, 0}};
    int ready = 0;
    while ((ready = poll(waiting, 2, timeoutMs < 0 ? 0 : timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready < 0) {
        RaiseErrno();
    }
    if (ready == 0 || (waiting[1].revents & POLLIN) != 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.Bytes.resize(maxBytes);
    sockaddr_storage from{};
    socklen_t fromSize = sizeof from;
    // A datagram longer than the buffer is cut to it; the rest is discarded.
    const ssize_t received = recvfrom(FHandle, datagram.Bytes.data(), maxBytes, 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (received < 0) {
        RaiseErrno();
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    datagram.From = sockets::ToEndpoint(from);
    const auto waited = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
    datagram.WaitedMs = static_cast<int>(waited.count());
    return datagram;
}

void PosixUdpSocket::Interrupt() {
    const std::uint64_t one = 1;
    // The counter stays above zero: every later wait ends at once as well.
    [[maybe_unused]] const ssize_t written = write(FInterrupt, &one, sizeof one);
}

} // namespace norvale::linux_adapter
