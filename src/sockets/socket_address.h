#pragma once

// The conversions between a UdpEndpoint and the socket API's address structures, shared by the
// Winsock and the POSIX socket adapters, which name those structures alike.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "core/platform/udp_socket.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace norvale::sockets {

inline UdpEndpoint ToEndpoint(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        UdpEndpoint endpoint{AddressFamily::IPv6, {}, ntohs(v6.sin6_port)};
        std::memcpy(endpoint.Address.data(), &v6.sin6_addr, 16);
        return endpoint;
    }
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    UdpEndpoint endpoint{AddressFamily::IPv4, {}, ntohs(v4.sin_port)};
    std::memcpy(endpoint.Address.data(), &v4.sin_addr, 4);
    return endpoint;
}

// Fills the address structure for an endpoint; returns the size of the part filled.
inline int ToSockaddr(const UdpEndpoint& endpoint, sockaddr_storage& address) {
    address = {};
    if (endpoint.Family == AddressFamily::IPv6) {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(endpoint.Port);
        std::memcpy(&v6.sin6_addr, endpoint.Address.data(), 16);
        return sizeof v6;
    }
    auto& v4 = reinterpret_cast<sockaddr_in&>(address);
    v4.sin_family = AF_INET;
    v4.sin_port = htons(endpoint.Port);
    std::memcpy(&v4.sin_addr, endpoint.Address.data(), 4);
    return sizeof v4;
}

// The IPv4 and IPv6 addresses of a resolver's answer (a list of addrinfo or ADDRINFOW, which
// name their members alike), in its order and each once, with the port.
template <class AddressInfo>
std::vector<UdpEndpoint> ResolvedEndpoints(const AddressInfo* first, std::uint16_t port) {
    std::vector<UdpEndpoint> endpoints;
    for (const AddressInfo* entry = first; entry; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET && entry->ai_family != AF_INET6) {
            continue;
        }
        sockaddr_storage address{};
        std::memcpy(&address, entry->ai_addr, entry->ai_addrlen);
        UdpEndpoint endpoint = ToEndpoint(address);
        endpoint.Port = port;
        if (std::find(endpoints.begin(), endpoints.end(), endpoint) == endpoints.end()) {
            endpoints.push_back(endpoint);
        }
    }
    return endpoints;
}

} // namespace norvale::sockets
