#pragma once

#include "core/net/ntp_packet.h"
#include "core/net/sntp_reading.h"
#include "core/net/time_server.h"
#include "core/platform/clock_setter.h"
#include "core/platform/date_time.h"
#include "core/platform/random_source.h"
#include "core/platform/system_clock.h"
#include "core/platform/udp_socket.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace norvale {

// A server whose root distance (root delay / 2 + root dispersion) is above this does not know
// the true time well enough to set a clock by: RFC 5905's distance threshold MAXDIST.
inline constexpr double kMaxRootDistanceSeconds = 1;
// A larger correction is never applied without the consent of the caller's user: ntpd's panic
// threshold, far below the phase-correction limits of Windows' own time service (15 hours on
// a computer of its own).
inline constexpr double kMaxStepSeconds = 1000;
// Consent given for one correction covers a later reading's that differs by this much at most
// (the elevated job's own query comes seconds after the one the user saw).
inline constexpr double kConsentToleranceSeconds = 10;
// Replies a synchronisation takes in a row, to use the one with the smallest round trip.
inline constexpr int kSyncReplies = 4;

enum class SyncResult { Set, NoUsableReply, NeedsConsent, PrivilegeNotHeld, Refused };

// Whether a correction of the computer's clock may be applied: it is within kMaxStepSeconds,
// or the user consented to one within kConsentToleranceSeconds of it.
bool StepAllowed(DateTime correction, std::optional<DateTime> consentedStep);

// The SNTP client: requests, replies, the timestamp arithmetic, the reply checks and the
// setting of the computer's clock. A query blocks its caller for up to ReceiveTimeout, so it
// runs off the window's thread. Replies are untrusted: only a datagram from the address and
// port asked that echoes all 64 bits of our Transmit Timestamp, whose sub-millisecond bits are
// random, counts as the reply, and it must pass every check of ReplyRejected.
class TIdSNTP {
public:
    TIdSNTP(UdpSocket& socket, const SystemClock& clock, ClockSetter& clockSetter,
            RandomSource& random);
    TIdSNTP(const TIdSNTP&) = delete;
    TIdSNTP& operator=(const TIdSNTP&) = delete;

    std::string Host = std::string(kDefaultTimeServerHost);
    std::uint16_t Port = kDefaultTimeServerPort;
    int ReceiveTimeout = 5000; // milliseconds for a whole query, every reply and address in it
    std::size_t BufferSize = 8192;
    bool CheckStratum = true;

    bool Active() const { return FSocket.IsOpen(); }
    // True opens the socket, false closes it.
    void SetActive(bool active);
    // Ends a query that waits, from another thread; for stopping, as the socket stays so.
    void Interrupt() { FSocket.Interrupt(); }

    // The computer's current offset from UTC in days: UTC = local + LocalBias.
    DateTime LocalBias() const;
    NtpTimestamp ToNtpTimestamp(DateTime localTime) const;
    DateTime FromNtpTimestamp(std::uint32_t seconds, std::uint32_t fraction) const;
    // True for a reply that is not to be believed: shorter than 48 bytes, Leap Indicator 3
    // (not synchronised), a Mode other than 4 (server), a Receive or Transmit Timestamp of
    // zero, a Transmit Timestamp before the Receive Timestamp, a stratum of 0 or above 15
    // (with the stratum check on), or a root distance above kMaxRootDistanceSeconds.
    bool ReplyRejected(std::span<const std::uint8_t> reply) const;

    // Asks for up to `replies` replies in a row and gives the usable one with the smallest
    // round trip, or nullopt when none came. The server's addresses are tried in the
    // resolver's order, all within ReceiveTimeout. Fills the result fields whenever a reply of
    // ours arrived, rejected or not. A socket failure raises its error (when no address was
    // merely silent); the socket is closed before an error leaves.
    std::optional<SntpReading> ReadServer(int replies);
    // The server's time as a local date-time from one reply, or 0 when no usable reply came.
    DateTime QueryServerTime();
    // Corrects the computer's clock, in UTC, by the reading's offset from now on. A correction
    // beyond kMaxStepSeconds needs the consent of the caller (NeedsConsent otherwise).
    SyncResult ApplyReading(const SntpReading& reading, std::optional<DateTime> consentedStep);
    // Reads the server (kSyncReplies replies) and applies the best reading; without consent
    // supplied by the caller, a correction beyond kMaxStepSeconds is never applied.
    SyncResult SyncClockToServer(std::optional<DateTime> consentedStep = std::nullopt);

    const SntpReading& LastReading() const { return FLast; }
    DateTime RequestSentAt() const { return FLast.RequestSentAt; }
    DateTime ServerReceivedAt() const { return FLast.ServerReceivedAt; }
    DateTime ServerSentAt() const { return FLast.ServerSentAt; }
    DateTime ReplyReceivedAt() const { return FLast.ReplyReceivedAt; }
    DateTime ClockOffset() const { return FLast.ClockOffset; }
    DateTime TripDelay() const { return FLast.TripDelay; }

private:
    struct Reply {
        NtpPacket Bytes;
        DateTime ReceivedAt;
    };

    std::optional<SntpReading> ReadAddresses(int replies);
    std::optional<SntpReading> ReadFrom(const UdpEndpoint& server, int replies, int budgetMs,
                                        int& spentMs);
    std::optional<Reply> AwaitReply(const UdpEndpoint& server, const NtpPacket& request,
                                    int budgetMs, int& spentMs);
    // The Transmit Timestamp of a request: the computer's clock to the millisecond, random
    // below it.
    NtpTimestamp RequestTimestamp();
    SntpReading ReadReply(const Reply& reply) const;

    UdpSocket& FSocket;
    const SystemClock& FClock;
    ClockSetter& FClockSetter;
    RandomSource& FRandom;
    SntpReading FLast;
};

} // namespace norvale
