#include "core/net/sntp_client.h"

#include "core/time/system_time.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace norvale {
namespace {

// The date-time value of 1900-01-01 00:00, where NTP time begins.
constexpr DateTime kNtpEpoch = 2;
constexpr double kMinutesPerDay = 1440;
constexpr int kLeapNotSynchronised = 3;
constexpr int kHighestStratum = 15;
constexpr std::uint8_t kModeBits = 0x07;

bool IsZero(std::span<const std::uint8_t> reply, std::size_t offset) {
    return ReadNtpTimestamp(reply, offset) == NtpTimestamp{};
}

double RootDistanceSeconds(std::span<const std::uint8_t> reply) {
    return ReadNtpShortSeconds(reply, kNtpRootDelayOffset) / 2 +
           ReadNtpShortSeconds(reply, kNtpRootDispersionOffset);
}

// A server cannot send its reply before it received the request.
bool SentBeforeReceived(std::span<const std::uint8_t> reply) {
    return NtpTimestampMilliseconds(ReadNtpTimestamp(reply, kNtpTransmitOffset)) <
           NtpTimestampMilliseconds(ReadNtpTimestamp(reply, kNtpReceiveOffset));
}

// The kiss codes of RFC 5905 that tell a client to stop: RATE to ask less often, DENY and
// RSTR to ask no more. A stratum-0 reply carries its code as the Reference ID, in ASCII.
std::optional<ReplyFaultKind> KissCode(std::span<const std::uint8_t> reply) {
    if (reply[1] != 0) {
        return std::nullopt;
    }
    const std::string_view code(reinterpret_cast<const char*>(&reply[kNtpReferenceIdOffset]), 4);
    if (code == "RATE") {
        return ReplyFaultKind::SlowDown;
    }
    if (code == "DENY" || code == "RSTR") {
        return ReplyFaultKind::Refused;
    }
    return std::nullopt;
}

} // namespace

bool StepAllowed(DateTime correction, std::optional<DateTime> consentedStep) {
    if (std::fabs(correction) <= kMaxStepSeconds * kOneSecond) {
        return true;
    }
    return consentedStep &&
           std::fabs(correction - *consentedStep) <= kConsentToleranceSeconds * kOneSecond;
}

TIdSNTP::TIdSNTP(UdpSocket& socket, const SystemClock& clock, ClockSetter& clockSetter,
                 RandomSource& random)
    : FSocket(socket), FClock(clock), FClockSetter(clockSetter), FRandom(random) {}

void TIdSNTP::Interrupt() {
    FInterrupted = true;
    FSocket.Interrupt();
}

void TIdSNTP::RequestSentElsewhere(std::int64_t monotonicMs) {
    const std::int64_t at = std::min(monotonicMs, FClock.MonotonicMilliseconds());
    FLastRequestMs = std::max(at, FLastRequestMs.value_or(at));
}

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

std::optional<ReplyFault> TIdSNTP::CheckReply(std::span<const std::uint8_t> reply) const {
    if (reply.size() < kNtpPacketSize || (reply[0] & kModeBits) != kNtpModeServer) {
        return ReplyFault{ReplyFaultKind::Invalid};
    }
    if (const std::optional<ReplyFaultKind> kiss = KissCode(reply)) {
        return ReplyFault{*kiss};
    }
    const int stratum = reply[1];
    if ((reply[0] >> 6) == kLeapNotSynchronised ||
        (CheckStratum && (stratum == 0 || stratum > kHighestStratum))) {
        return ReplyFault{ReplyFaultKind::NotSynchronised};
    }
    if (IsZero(reply, kNtpTransmitOffset) || IsZero(reply, kNtpReceiveOffset) ||
        SentBeforeReceived(reply)) {
        return ReplyFault{ReplyFaultKind::Invalid};
    }
    if (const double distance = RootDistanceSeconds(reply); distance > kMaxRootDistanceSeconds) {
        return ReplyFault{ReplyFaultKind::Inaccurate, distance};
    }
    return std::nullopt;
}

bool TIdSNTP::KissOfDeath(std::span<const std::uint8_t> reply) const {
    return (reply[0] & kModeBits) == kNtpModeServer && reply[1] == 0 &&
           (CheckStratum || KissCode(reply));
}

NtpTimestamp TIdSNTP::RequestTimestamp() {
    // A millisecond spans 4294967.296 units of 2^-32 s; the 2^22 values of the random bits all
    // fit below it, so the timestamp still reads back as the same millisecond.
    constexpr std::uint32_t kRandomBits = (1U << 22) - 1;
    NtpTimestamp stamp = ToNtpTimestamp(FClock.Now());
    stamp.Fraction += FRandom.Random32() & kRandomBits;
    return stamp;
}

SntpReading TIdSNTP::ReadReply(const Reply& reply) const {
    const auto fromReply = [&](std::size_t offset) {
        const NtpTimestamp timestamp = ReadNtpTimestamp(reply.Bytes, offset);
        return FromNtpTimestamp(timestamp.Seconds, timestamp.Fraction);
    };
    SntpReading r;
    r.ReplyReceivedAt = reply.ReceivedAt;
    r.RequestSentAt = fromReply(kNtpOriginateOffset);
    r.ServerReceivedAt = fromReply(kNtpReceiveOffset);
    r.ServerSentAt = fromReply(kNtpTransmitOffset);
    r.TripDelay = (r.ReplyReceivedAt - r.RequestSentAt) - (r.ServerReceivedAt - r.ServerSentAt);
    r.ClockOffset =
        ((r.ServerReceivedAt - r.RequestSentAt) + (r.ServerSentAt - r.ReplyReceivedAt)) / 2;
    return r;
}

DateTime TIdSNTP::QueryServerTime() {
    const SntpAnswer answer = ReadServer(1);
    return answer.Reading ? answer.Reading->ServerSentAt : 0;
}

SyncResult TIdSNTP::ApplyReading(const SntpReading& reading,
                                 std::optional<DateTime> consentedStep) {
    if (!StepAllowed(reading.ClockOffset, consentedStep)) {
        return SyncResult::NeedsConsent;
    }
    // The offset, not the time the reply gave: time has passed since (a question to the user,
    // an elevated start), and UTC, so that a daylight-saving change cannot shift it.
    const std::optional<SYSTEMTIME> utc =
        DateTimeToSystemTime(FClock.Now() + LocalBias() + reading.ClockOffset);
    if (!utc) {
        return SyncResult::Refused;
    }
    switch (FClockSetter.SetSystemTime(*utc)) {
    case ClockSetResult::Set:
        return SyncResult::Set;
    case ClockSetResult::PrivilegeNotHeld:
        return SyncResult::PrivilegeNotHeld;
    default:
        return SyncResult::Refused;
    }
}

SyncResult TIdSNTP::SyncClockToServer(std::optional<DateTime> consentedStep) {
    const SntpAnswer answer = ReadServer(kSyncReplies);
    if (!answer.Reading) {
        return SyncResult::NoUsableReply;
    }
    return ApplyReading(*answer.Reading, consentedStep);
}

} // namespace norvale
