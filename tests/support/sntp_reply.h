#pragma once

#include "core/net/ntp_packet.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace norvale::testing {

// What a server puts into a reply; the Originate Timestamp is copied from the request.
struct SntpReplyFields {
    int LeapIndicator = 0;
    int Mode = 4; // server
    int Stratum = 2;
    std::uint32_t RootDelay = 0;      // NTP short format, 1/65536 s
    std::uint32_t RootDispersion = 0; // NTP short format, 1/65536 s
    std::string_view ReferenceId;     // up to four ASCII letters: a kiss code with stratum 0
    NtpTimestamp Receive;
    NtpTimestamp Transmit;
};

inline NtpPacket MakeSntpReply(std::span<const std::uint8_t> request,
                               const SntpReplyFields& fields) {
    NtpPacket reply{};
    reply[0] = static_cast<std::uint8_t>((fields.LeapIndicator << 6) | (3 << 3) | fields.Mode);
    reply[1] = static_cast<std::uint8_t>(fields.Stratum);
    const auto put32 = [&reply](std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            reply[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
        }
    };
    put32(kNtpRootDelayOffset, fields.RootDelay);
    put32(kNtpRootDispersionOffset, fields.RootDispersion);
    std::copy_n(fields.ReferenceId.begin(), std::min<std::size_t>(fields.ReferenceId.size(), 4),
                reply.begin() + kNtpReferenceIdOffset);
    WriteNtpTimestamp(reply, kNtpOriginateOffset, ReadNtpTimestamp(request, kNtpTransmitOffset));
    WriteNtpTimestamp(reply, kNtpReceiveOffset, fields.Receive);
    WriteNtpTimestamp(reply, kNtpTransmitOffset, fields.Transmit);
    return reply;
}

} // namespace norvale::testing
