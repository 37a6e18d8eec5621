#pragma once

#include "core/platform/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace norvale {

// What one exchange with the time server measured. The four instants are the computer's
// local date-times; offset and delay are spans in days.
struct SntpReading {
    DateTime RequestSentAt = 0;    // T1, the Originate Timestamp the reply echoed
    DateTime ServerReceivedAt = 0; // T2, the reply's Receive Timestamp
    DateTime ServerSentAt = 0;     // T3, the reply's Transmit Timestamp
    DateTime ReplyReceivedAt = 0;  // T4, the computer's clock when the reply arrived
    DateTime ClockOffset = 0;      // ((T2 - T1) + (T3 - T4)) / 2: how far the server is ahead
    DateTime TripDelay = 0;        // (T4 - T1) - (T2 - T3), as RFC 2030 writes it
};

// Why a reading of the time server has no usable reply. Only NoAnswer means that nothing came.
enum class ReplyFaultKind : std::uint8_t {
    NoAnswer,
    Invalid,         // no server reply as the protocol has it: short, wrong mode, bad timestamps
    NotSynchronised, // leap indicator 3, or a stratum of 0 or above 15
    Inaccurate,      // a root distance above kMaxRootDistanceSeconds
    SlowDown,        // a kiss-o'-death RATE: the server limits how often it may be asked
    Refused,         // a kiss-o'-death DENY or RSTR: the server will not serve this computer
    SocketError,     // the network failed before a reply could come
};

struct ReplyFault {
    ReplyFault() = default;
    explicit ReplyFault(ReplyFaultKind kind, double rootDistanceSeconds = 0,
                        std::string socketErrorText = {})
        : Kind(kind), RootDistanceSeconds(rootDistanceSeconds),
          SocketErrorText(std::move(socketErrorText)) {}

    ReplyFaultKind Kind = ReplyFaultKind::NoAnswer;
    double RootDistanceSeconds = 0; // the server's, for Inaccurate
    std::string SocketErrorText;    // the socket layer's text, for SocketError

    friend bool operator==(const ReplyFault&, const ReplyFault&) = default;
};

// What a reading of the time server gave: the usable reading, or why there is none.
struct SntpAnswer {
    std::optional<SntpReading> Reading;
    ReplyFault Fault;
};

} // namespace norvale
