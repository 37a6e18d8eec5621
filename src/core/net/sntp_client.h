#pragma once

#include "core/net/ntp_packet.h"
#include "core/net/sntp_reading.h"
#include "core/net/time_server.h"
#include "core/platform/clock_setter.h"
#include "core/platform/date_time.h"
#include "core/platform/random_source.h"
#include "core/platform/system_clock.h"
#include "core/platform/udp_socket.h"

#include <atomic>
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
// Replies a synchronisation takes in a row, as far as its action's requests allow, to use the
// one with the smallest round trip.
inline constexpr int kSyncReplies = 3;
// Requests one action of the user may send in all, the follow-up reading included: a server
// that limits its clients' rate then still answers them all.
inline constexpr int kActionRequests = 4;
// The least time between two requests to the server, on the monotonic count. RFC 4330 asks
// for 2 s at least; the 100 ms more cover the coarse clocks at both ends (Windows' tick count
// moves in steps of up to 16 ms, chronyd counts its clients' time in sixteenths of a second),
// so that a server measuring its own way never sees two requests less than 2 s apart.
inline constexpr std::int64_t kRequestSpacingMs = 2100;

enum class SyncResult { Set, NoUsableReply, NeedsConsent, PrivilegeNotHeld, Refused };

// Whether a correction of the computer's clock may be applied: it is within kMaxStepSeconds,
// or the user consented to one within kConsentToleranceSeconds of it.
bool StepAllowed(DateTime correction, std::optional<DateTime> consentedStep);

// The SNTP client: requests, replies, the timestamp arithmetic, the reply checks and the
// setting of the computer's clock. A query blocks its caller for up to ReceiveTimeout, so it
// runs off the window's thread. Replies are untrusted: only a datagram from the address and
// port asked that echoes all 64 bits of our Transmit Timestamp, whose sub-millisecond bits are
// random, counts as the reply, and it must pass every check of ReplyRejected.
// The client keeps to the server's manners by itself: no request less than kRequestSpacingMs
// after the one before (it waits its turn within the query's time), no more than the requests
// allowed to the action, and none at all after a kiss-o'-death until the next action.
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
    void Interrupt();

    // Starts an action of the user: at most `requests` requests from now on.
    void AllowRequests(int requests) { FRequestsLeft = requests; }
    int RequestsLeft() const { return FRequestsLeft; }
    // When the last request left, on the monotonic count; nullopt before the first.
    std::optional<std::int64_t> LastRequestAt() const { return FLastRequestMs; }
    // Another run of this program asked the same server at that moment of the monotonic count
    // (which all processes share): the next request keeps its distance from it. A moment
    // still to come counts as now.
    void RequestSentElsewhere(std::int64_t monotonicMs);

    // The computer's current offset from UTC in days: UTC = local + LocalBias.
    DateTime LocalBias() const;
    NtpTimestamp ToNtpTimestamp(DateTime localTime) const;
    DateTime FromNtpTimestamp(std::uint32_t seconds, std::uint32_t fraction) const;
    // Why a reply is not to be believed, or nullopt when it is: shorter than 48 bytes, a Mode
    // other than 4 (server), a Receive or Transmit Timestamp of zero or a Transmit Timestamp
    // before the Receive Timestamp (Invalid); a kiss-o'-death (SlowDown, Refused); Leap
    // Indicator 3, or a stratum of 0 or above 15 with the stratum check on (NotSynchronised);
    // a root distance above kMaxRootDistanceSeconds (Inaccurate).
    std::optional<ReplyFault> CheckReply(std::span<const std::uint8_t> reply) const;
    bool ReplyRejected(std::span<const std::uint8_t> reply) const {
        return CheckReply(reply).has_value();
    }

    // Asks for up to `replies` replies in a row and gives the usable one with the smallest
    // round trip, or why there is none. The server's addresses are tried in the resolver's
    // order, all within ReceiveTimeout. A kiss-o'-death ends the reading at once, and nothing
    // that came before it counts either. Fills the result fields whenever a reply of ours
    // arrived, rejected or not. A socket failure raises its error (when no address was merely
    // silent); the socket is closed before an error leaves.
    SntpAnswer ReadServer(int replies);
    // The server's time as a local date-time from one reply, or 0 when no usable reply came.
    DateTime QueryServerTime();
    // Corrects the computer's clock, in UTC, by the reading's offset from now on. A correction
    // beyond kMaxStepSeconds needs the consent of the caller (NeedsConsent otherwise).
    SyncResult ApplyReading(const SntpReading& reading, std::optional<DateTime> consentedStep);
    // Reads the server (kSyncReplies replies) and applies the best reading; without consent
    // supplied by the caller, a correction beyond kMaxStepSeconds is never applied.
    SyncResult SyncClockToServer(std::optional<DateTime> consentedStep = std::nullopt);

    const SntpReading& LastReading() const { return FLast; }
    // Why the last reading had no usable reply.
    const ReplyFault& LastFault() const { return FFault; }
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
        bool Short = false; // fewer than 48 bytes came: Bytes holds none of them
    };

    SntpAnswer ReadAddresses(int replies);
    std::optional<SntpReading> ReadFrom(const UdpEndpoint& server, int replies, int budgetMs,
                                        int& spentMs, ReplyFault& fault);
    bool AwaitTurn(int budgetMs, int& spentMs);
    std::optional<Reply> AwaitReply(const UdpEndpoint& server, const NtpPacket& request,
                                    int budgetMs, int& spentMs);
    // Stratum 0, with the stratum check on or with a kiss code we know: the server asks us to
    // stop, for now or for good.
    bool KissOfDeath(std::span<const std::uint8_t> reply) const;
    // The Transmit Timestamp of a request: the computer's clock to the millisecond, random
    // below it.
    NtpTimestamp RequestTimestamp();
    SntpReading ReadReply(const Reply& reply) const;

    UdpSocket& FSocket;
    const SystemClock& FClock;
    ClockSetter& FClockSetter;
    RandomSource& FRandom;
    SntpReading FLast;
    ReplyFault FFault;
    int FRequestsLeft = kActionRequests;
    std::optional<std::int64_t> FLastRequestMs;
    std::atomic<bool> FInterrupted = false;
};

} // namespace norvale
