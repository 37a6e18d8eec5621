#include "core/net/sntp_client.h"

#include "core/time/system_time.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace norvale {
namespace {

// The date-time value of 1900-01-01 00:00, where NTP time begins.
constexpr DateTime kNtpEpoch = 2;
constexpr double kMinutesPerDay = 1440;
constexpr int kLeapNotSynchronised = 3;
constexpr int kHighestStratum = 15;
// A flood of foreign datagrams must not keep a query waiting for ever.
constexpr int kMaxForeignDatagrams = 16;

// Whether a reply's Originate Timestamp is the Transmit Timestamp of our request.
bool EchoesRequest(std::span<const std::uint8_t> reply, const NtpPacket& request) {
    return ReadNtpTimestamp(reply, kNtpOriginateOffset) ==
           ReadNtpTimestamp(request, kNtpTransmitOffset);
}

} // namespace

TIdSNTP::TIdSNTP(UdpSocket& socket, const SystemClock& clock, ClockSetter& clockSetter)
    : FSocket(socket), FClock(clock), FClockSetter(clockSetter) {}

void TIdSNTP::SetActive(bool active) {
    if (active == Active()) {
        return;
    }
    if (active) {
        FSocket.Open();
    } else {
        FSocket.Close();
    }
}

DateTime TIdSNTP::LocalBias() const {
    TIME_ZONE_INFORMATION zone;
    switch (FClock.GetTimeZoneInformation(zone)) {
    case kTimeZoneIdUnknown:
        return zone.Bias / kMinutesPerDay;
    case kTimeZoneIdStandard:
        return (zone.Bias + zone.StandardBias) / kMinutesPerDay;
    case kTimeZoneIdDaylight:
        return (zone.Bias + zone.DaylightBias) / kMinutesPerDay;
    default:
        throw std::runtime_error(FClock.LastErrorText());
    }
}

NtpTimestamp TIdSNTP::ToNtpTimestamp(DateTime localTime) const {
    // The computer's clock counts whole milliseconds; rounding to them keeps the binary
    // fraction of a day from turning half a second into 0x7FFFFFFF.
    const double milliseconds = (localTime + LocalBias() - kNtpEpoch) * kMillisecondsPerDay;
    return NtpTimestampFromMilliseconds(std::llround(milliseconds));
}

DateTime TIdSNTP::FromNtpTimestamp(std::uint32_t seconds, std::uint32_t fraction) const {
    const auto milliseconds = static_cast<double>(NtpTimestampMilliseconds({seconds, fraction}));
    return milliseconds / kMillisecondsPerDay + kNtpEpoch - LocalBias();
}

bool TIdSNTP::ReplyRejected(std::span<const std::uint8_t> reply) const {
    if (reply.size() < kNtpPacketSize) {
        return true;
    }
    const int stratum = reply[1];
    return (reply[0] >> 6) == kLeapNotSynchronised ||
           ReadNtpTimestamp(reply, kNtpTransmitOffset) == NtpTimestamp{} ||
           (CheckStratum && (stratum == 0 || stratum > kHighestStratum));
}

DateTime TIdSNTP::QueryServerTime() {
    try {
        return Exchange();
    } catch (...) {
        FSocket.Close();
        throw;
    }
}

// One request, then datagrams until ours arrives or the time-out has passed. Datagrams from
// another address or port, or that do not echo our Transmit Timestamp, are not our reply
// (RFC 4330 section 5) and are skipped; a short one from the server ends the query.
DateTime TIdSNTP::Exchange() {
    const NtpPacket request = BuildSntpRequest(ToNtpTimestamp(FClock.Now()));
    BufferSize = kNtpPacketSize;
    if (!FSocket.IsOpen()) {
        FSocket.Open();
    }
    const UdpEndpoint server = FSocket.SendTo(Host, Port, request);
    int remainingMs = ReceiveTimeout;
    for (int skipped = 0; skipped <= kMaxForeignDatagrams; ++skipped) {
        const std::optional<Datagram> datagram = FSocket.Receive(BufferSize, remainingMs);
        if (!datagram) {
            return 0;
        }
        const DateTime receivedAt = FClock.Now();
        const std::span<const std::uint8_t> bytes(datagram->Bytes);
        if (datagram->From == server) {
            if (bytes.size() < kNtpPacketSize) {
                return 0;
            }
            if (EchoesRequest(bytes, request)) {
                ReadReply(bytes, receivedAt);
                return ReplyRejected(bytes) ? 0 : FServerSentAt;
            }
        }
        remainingMs -= std::max(datagram->WaitedMs, 0);
        if (remainingMs <= 0) {
            return 0;
        }
    }
    return 0;
}

void TIdSNTP::ReadReply(std::span<const std::uint8_t> reply, DateTime receivedAt) {
    const auto fromReply = [&](std::size_t offset) {
        const NtpTimestamp timestamp = ReadNtpTimestamp(reply, offset);
        return FromNtpTimestamp(timestamp.Seconds, timestamp.Fraction);
    };
    FReplyReceivedAt = receivedAt;
    FRequestSentAt = fromReply(kNtpOriginateOffset);
    FServerReceivedAt = fromReply(kNtpReceiveOffset);
    FServerSentAt = fromReply(kNtpTransmitOffset);
    // The delay as RFC 2030 writes it, (T2 - T3) and not (T3 - T2).
    FTripDelay = (FReplyReceivedAt - FRequestSentAt) - (FServerReceivedAt - FServerSentAt);
    FClockOffset = ((FServerReceivedAt - FRequestSentAt) + (FServerSentAt - FReplyReceivedAt)) / 2;
}

bool TIdSNTP::SyncClockToServer() {
    if (QueryServerTime() == 0) {
        return false;
    }
    return SetComputerLocalTime(FRequestSentAt + FClockOffset + FTripDelay);
}

bool TIdSNTP::SetComputerLocalTime(DateTime localTime) {
    const std::optional<SYSTEMTIME> systemTime = DateTimeToSystemTime(localTime);
    return systemTime && FClockSetter.SetLocalTime(*systemTime);
}

} // namespace norvale
