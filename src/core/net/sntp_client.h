#pragma once

#include "core/net/ntp_packet.h"
#include "core/net/time_server.h"
#include "core/platform/clock_setter.h"
#include "core/platform/system_clock.h"
#include "core/platform/udp_socket.h"
#include "core/time/date_time.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace norvale {

// The SNTP client: one request, one reply, the timestamp arithmetic, the reply checks and the
// setting of the computer's clock. Every query runs synchronously and blocks its caller for
// up to ReceiveTimeout. Replies are untrusted: only a datagram from the server's address and
// port that echoes our Transmit Timestamp counts as the reply.
class TIdSNTP {
public:
    TIdSNTP(UdpSocket& socket, const SystemClock& clock, ClockSetter& clockSetter);
    TIdSNTP(const TIdSNTP&) = delete;
    TIdSNTP& operator=(const TIdSNTP&) = delete;

    std::string Host = std::string(kDefaultTimeServerHost);
    std::uint16_t Port = kDefaultTimeServerPort;
    int ReceiveTimeout = 5000; // milliseconds
    std::size_t BufferSize = 8192;
    bool CheckStratum = true;

    bool Active() const { return FSocket.IsOpen(); }
    // True opens the socket, false closes it.
    void SetActive(bool active);

    // The computer's current offset from UTC in days: UTC = local + LocalBias.
    DateTime LocalBias() const;
    NtpTimestamp ToNtpTimestamp(DateTime localTime) const;
    DateTime FromNtpTimestamp(std::uint32_t seconds, std::uint32_t fraction) const;
    bool ReplyRejected(std::span<const std::uint8_t> reply) const;

    // The server's time as a local date-time, or 0 when no usable reply came. Fills the
    // result fields whenever a reply of ours arrived, rejected or not. The socket is closed
    // before an error leaves.
    DateTime QueryServerTime();
    // Queries, and on success sets the computer's clock.
    bool SyncClockToServer();
    bool SetComputerLocalTime(DateTime localTime);

    DateTime RequestSentAt() const { return FRequestSentAt; }
    DateTime ServerReceivedAt() const { return FServerReceivedAt; }
    DateTime ServerSentAt() const { return FServerSentAt; }
    DateTime ReplyReceivedAt() const { return FReplyReceivedAt; }
    DateTime ClockOffset() const { return FClockOffset; }
    DateTime TripDelay() const { return FTripDelay; }

private:
    DateTime Exchange();
    void ReadReply(std::span<const std::uint8_t> reply, DateTime receivedAt);

    UdpSocket& FSocket;
    const SystemClock& FClock;
    ClockSetter& FClockSetter;
    DateTime FRequestSentAt = 0;
    DateTime FServerReceivedAt = 0;
    DateTime FServerSentAt = 0;
    DateTime FReplyReceivedAt = 0;
    DateTime FClockOffset = 0;
    DateTime FTripDelay = 0;
};

} // namespace norvale
