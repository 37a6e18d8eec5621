#pragma once

#include "core/time/calendar.h"
#include "support/sntp_reply.h"
#include "support/sntp_test_ports.h"

#include <gtest/gtest.h>
#include <vector>

namespace norvale::testing {

// The T1..T4 example on 2026-03-09 in a computer on UTC: the request leaves at 10:00:00.000,
// the server receives it at 10:00:02.000 and answers at 10:00:02.010, the reply arrives at
// 10:00:00.100.
class SntpClientTest : public ::testing::Test, protected SntpTestPorts {
protected:
    static constexpr DateTime kTolerance = 1e-9; // about 86 microseconds

    SntpClientTest() {
        clock.Set(TimeOfDay(10, 0, 0, 0));
        fields.Receive = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 0));
        fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10));
    }

    static DateTime TimeOfDay(int hour, int minute, int second, int millisecond) {
        return *EncodeDate(2026, 3, 9) + *EncodeTime(hour, minute, second, millisecond);
    }

    static std::vector<std::uint8_t> Bytes(const NtpPacket& packet) {
        return {packet.begin(), packet.end()};
    }

    // The server answers the first `times` requests with `fields`, each reply preceded by
    // `before`; the reply arrives at 10:00:00.100 after a wait of 100 ms.
    void Serve(int times = 1, std::vector<Datagram> before = {}) {
        socket.Respond = [this, times, before,
                          answered = 0](std::span<const std::uint8_t> request) mutable {
            if (answered++ >= times) {
                return std::vector<Datagram>{};
            }
            clock.Set(TimeOfDay(10, 0, 0, 100));
            std::vector<Datagram> arriving = before;
            arriving.push_back({Bytes(MakeSntpReply(request, fields)), socket.Server, 100});
            return arriving;
        };
    }

    // The date-time a call of the clock setter asked for.
    static DateTime SetTo(const SYSTEMTIME& time) {
        return *EncodeDate(time.wYear, time.wMonth, time.wDay) +
               *EncodeTime(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    }

    SntpReplyFields fields;
};

} // namespace norvale::testing
