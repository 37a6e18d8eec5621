#include "core/net/sntp_client.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

// The network side of the SNTP client: the server's addresses, the requests and the waits for
// their replies, all within one time limit.

namespace norvale {
namespace {

// A flood of foreign datagrams must not keep a query waiting for ever.
constexpr int kMaxForeignDatagrams = 16;

// Whether a reply's Originate Timestamp is the Transmit Timestamp of our request, all 64 bits.
bool EchoesRequest(std::span<const std::uint8_t> reply, const NtpPacket& request) {
    return ReadNtpTimestamp(reply, kNtpOriginateOffset) ==
           ReadNtpTimestamp(request, kNtpTransmitOffset);
}

// Stratum 0 in a reply is a kiss-o'-death: the server asks not to be asked again now.
bool KissOfDeath(const NtpPacket& reply) {
    return reply[1] == 0;
}

} // namespace

std::optional<SntpReading> TIdSNTP::ReadServer(int replies) {
    try {
        return ReadAddresses(replies);
    } catch (...) {
        FSocket.Close();
        throw;
    }
}

// Each address gets an equal share of the time that is left, so a silent first one (an IPv6
// address without a route, say) still leaves time for the next. An address that fails with a
// socket error is passed over; the error is raised only when no address was merely silent.
std::optional<SntpReading> TIdSNTP::ReadAddresses(int replies) {
    const std::vector<UdpEndpoint> addresses = FSocket.Resolve(Host, Port);
    BufferSize = kNtpPacketSize;
    if (!FSocket.IsOpen()) {
        FSocket.Open();
    }
    int remainingMs = ReceiveTimeout;
    std::exception_ptr failure;
    bool silent = false;
    for (std::size_t i = 0; i < addresses.size() && remainingMs > 0; ++i) {
        const int budgetMs = remainingMs / static_cast<int>(addresses.size() - i);
        int spentMs = 0;
        try {
            if (std::optional<SntpReading> best =
                    ReadFrom(addresses[i], replies, budgetMs, spentMs)) {
                return best;
            }
            silent = true;
        } catch (const std::runtime_error&) {
            failure = std::current_exception();
        }
        remainingMs -= spentMs;
    }
    if (failure && !silent) {
        std::rethrow_exception(failure);
    }
    return std::nullopt;
}

// Up to `replies` requests, each sent when the previous one was answered. A silent or short
// answer, or a kiss-o'-death, ends the series; rejected replies take part in no reading.
std::optional<SntpReading> TIdSNTP::ReadFrom(const UdpEndpoint& server, int replies, int budgetMs,
                                             int& spentMs) {
    std::optional<SntpReading> best;
    for (int n = 0; n < replies && spentMs < budgetMs; ++n) {
        const NtpPacket request = BuildSntpRequest(RequestTimestamp());
        FSocket.SendTo(server, request);
        const std::optional<Reply> reply = AwaitReply(server, request, budgetMs, spentMs);
        if (!reply) {
            break;
        }
        FLast = ReadReply(*reply);
        const bool usable = !ReplyRejected(reply->Bytes);
        if (usable && (!best || FLast.TripDelay < best->TripDelay)) {
            best = FLast;
        }
        if (CheckStratum && KissOfDeath(reply->Bytes)) {
            break;
        }
    }
    if (best) {
        FLast = *best;
    }
    return best;
}

// Datagrams until ours arrives or the budget is spent. Datagrams from another address or
// port, or that do not echo our request, are not our reply (RFC 4330 section 5) and are
// skipped; a short one from the server ends the wait.
std::optional<TIdSNTP::Reply> TIdSNTP::AwaitReply(const UdpEndpoint& server,
                                                  const NtpPacket& request, int budgetMs,
                                                  int& spentMs) {
    for (int skipped = 0; skipped <= kMaxForeignDatagrams && spentMs < budgetMs; ++skipped) {
        const std::optional<Datagram> datagram = FSocket.Receive(BufferSize, budgetMs - spentMs);
        if (!datagram) {
            spentMs = budgetMs;
            return std::nullopt;
        }
        const DateTime receivedAt = FClock.Now();
        spentMs += std::max(datagram->WaitedMs, 0);
        const std::span<const std::uint8_t> bytes(datagram->Bytes);
        if (datagram->From != server) {
            continue;
        }
        if (bytes.size() < kNtpPacketSize) {
            return std::nullopt;
        }
        if (EchoesRequest(bytes, request)) {
            Reply reply{{}, receivedAt};
            std::copy_n(bytes.begin(), kNtpPacketSize, reply.Bytes.begin());
            return reply;
        }
    }
    return std::nullopt;
}

} // namespace norvale
