#include "core/net/sntp_client.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

// The network side of the SNTP client: the server's addresses, the requests, each in its turn,
// and the waits for their replies, all within one time limit.

namespace norvale {
namespace {

// A flood of foreign datagrams must not keep a query waiting for ever.
constexpr int kMaxForeignDatagrams = 16;

// Whether a reply's Originate Timestamp is the Transmit Timestamp of our request, all 64 bits.
bool EchoesRequest(std::span<const std::uint8_t> reply, const NtpPacket& request) {
    return ReadNtpTimestamp(reply, kNtpOriginateOffset) ==
           ReadNtpTimestamp(request, kNtpTransmitOffset);
}

} // namespace

SntpAnswer TIdSNTP::ReadServer(int replies) {
    try {
        SntpAnswer answer = ReadAddresses(replies);
        FFault = answer.Fault;
        return answer;
    } catch (...) {
        FSocket.Close();
        throw;
    }
}

// Each address gets an equal share of the time that is left, so a silent first one (an IPv6
// address without a route, say) still leaves time for the next. An address that fails with a
// socket error is passed over; the error is raised only when no address was merely silent.
SntpAnswer TIdSNTP::ReadAddresses(int replies) {
    const std::vector<UdpEndpoint> addresses = FSocket.Resolve(Host, Port);
    BufferSize = kNtpPacketSize;
    if (!FSocket.IsOpen()) {
        FSocket.Open();
    }
    SntpAnswer answer;
    int remainingMs = ReceiveTimeout;
    std::exception_ptr failure;
    bool silent = false;
    for (std::size_t i = 0; i < addresses.size() && remainingMs > 0; ++i) {
        const int budgetMs = remainingMs / static_cast<int>(addresses.size() - i);
        int spentMs = 0;
        try {
            answer.Reading = ReadFrom(addresses[i], replies, budgetMs, spentMs, answer.Fault);
            if (answer.Reading) {
                return answer;
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
    return answer;
}

// Up to `replies` requests, each sent in its turn when the previous one was answered. A silent
// or short answer ends the series; rejected replies take part in no reading, and leave their
// fault as the reason when no usable one comes.
std::optional<SntpReading> TIdSNTP::ReadFrom(const UdpEndpoint& server, int replies, int budgetMs,
                                             int& spentMs, ReplyFault& fault) {
    std::optional<SntpReading> best;
    for (int n = 0; n < replies && FRequestsLeft > 0 && AwaitTurn(budgetMs, spentMs); ++n) {
        const NtpPacket request = BuildSntpRequest(RequestTimestamp());
        FSocket.SendTo(server, request);
        --FRequestsLeft;
        FLastRequestMs = FClock.MonotonicMilliseconds();
        const std::optional<Reply> reply = AwaitReply(server, request, budgetMs, spentMs);
        if (!reply) {
            break;
        }
        if (reply->Short) {
            fault = ReplyFault(ReplyFaultKind::Invalid);
            break;
        }
        FLast = ReadReply(*reply);
        const std::optional<ReplyFault> rejected = CheckReply(reply->Bytes);
        if (rejected) {
            fault = *rejected;
        }
        if (KissOfDeath(reply->Bytes)) {
            // The server asked to be left alone: nothing more goes to it in this action, and
            // nothing it said before counts.
            FRequestsLeft = 0;
            return std::nullopt;
        }
        if (!rejected && (!best || FLast.TripDelay < best->TripDelay)) {
            best = FLast;
        }
    }
    if (best) {
        FLast = *best;
    }
    return best;
}

// Waits until the last request is kRequestSpacingMs old, within the budget. What arrives
// meanwhile is late or foreign and is dropped. False when the request may not go yet: the
// budget ran out first, a flood of datagrams kept coming, or the wait was interrupted.
bool TIdSNTP::AwaitTurn(int budgetMs, int& spentMs) {
    if (!FLastRequestMs) {
        return true;
    }
    std::int64_t waitMs = *FLastRequestMs + kRequestSpacingMs - FClock.MonotonicMilliseconds();
    for (int skipped = 0; waitMs > 0; ++skipped) {
        const int leftMs = budgetMs - spentMs;
        if (leftMs <= 0 || skipped > kMaxForeignDatagrams) {
            return false;
        }
        const int timeoutMs = static_cast<int>(std::min<std::int64_t>(waitMs, leftMs));
        const std::optional<Datagram> datagram = FSocket.Receive(BufferSize, timeoutMs);
        if (!datagram && FInterrupted) {
            return false;
        }
        // The socket's own wait measures the time; the monotonic count may move in coarser
        // steps.
        const int waitedMs = datagram ? std::max(datagram->WaitedMs, 0) : timeoutMs;
        spentMs += waitedMs;
        waitMs -= waitedMs;
    }
    return true;
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
            return Reply{{}, receivedAt, true};
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
