#pragma once

#include "core/platform/date_time.h"

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

} // namespace norvale
