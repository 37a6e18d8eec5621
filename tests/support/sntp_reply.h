#pragma once

#include "core/net/ntp_packet.h"

#include <span>

namespace norvale::testing {

// What a server puts into a reply; the Originate Timestamp is copied from the request.
struct SntpReplyFields {
    int LeapIndicator = 0;
    int Stratum = 2;
    NtpTimestamp Receive;
    NtpTimestamp Transmit;
};

inline NtpPacket MakeSntpReply(std::span<const std::uint8_t> request,
                               const SntpReplyFields& fields) {
    NtpPacket reply{};
    reply[0] = static_cast<std::uint8_t>((fields.LeapIndicator << 6) | (3 << 3) | 4); // server
    reply[1] = static_cast<std::uint8_t>(fields.Stratum);
    WriteNtpTimestamp(reply, kNtpOriginateOffset, ReadNtpTimestamp(request, kNtpTransmitOffset));
    WriteNtpTimestamp(reply, kNtpReceiveOffset, fields.Receive);
    WriteNtpTimestamp(reply, kNtpTransmitOffset, fields.Transmit);
    return reply;
}

} // namespace norvale::testing
