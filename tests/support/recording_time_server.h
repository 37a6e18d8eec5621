#pragma once

#include "core/net/sntp_client.h"
#include "support/fake_clock.h"
#include "support/fake_udp_socket.h"
#include "support/sntp_reply.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace norvale::testing {

// A time server that notes when each request came, on the monotonic count, and answers as the
// test says. It may serve several clients (the clock and its elevated job) on one clock; every
// wait of theirs then takes its time on that clock, and each reply 20 ms.
struct RecordingTimeServer {
    // The reply to the request of that number, counted from 0 over all clients (its times are
    // filled in: the server's clock runs AheadSeconds before theirs), or nullopt for none.
    std::function<std::optional<SntpReplyFields>(std::size_t)> Answer = [](std::size_t) {
        return SntpReplyFields{};
    };
    double AheadSeconds = 0;
    std::vector<std::int64_t> RequestTimes;

    void Serve(FakeUdpSocket& socket, FakeClock& clock, const TIdSNTP& sntp) {
        socket.Clock = &clock;
        socket.Respond = [this, &socket, &clock, &sntp](std::span<const std::uint8_t> request) {
            RequestTimes.push_back(clock.MonotonicMilliseconds());
            std::optional<SntpReplyFields> fields = Answer(RequestTimes.size() - 1);
            if (!fields) {
                return std::vector<Datagram>{};
            }
            // Half the trip there, half back.
            clock.AdvanceSeconds(kTripSeconds / 2);
            fields->Receive = sntp.ToNtpTimestamp(clock.Now() + AheadSeconds * kOneSecond);
            fields->Transmit = fields->Receive;
            clock.AdvanceSeconds(kTripSeconds / 2);
            const NtpPacket reply = MakeSntpReply(request, *fields);
            return std::vector<Datagram>{{{reply.begin(), reply.end()},
                                          socket.Server,
                                          static_cast<int>(kTripSeconds * 1000)}};
        };
    }

    // Answers every request with a good reply but the one of that number, which gets a
    // kiss-o'-death with the code.
    void KissAt(std::size_t kissed, const char* code) {
        Answer = [kissed, code](std::size_t n) {
            SntpReplyFields fields;
            if (n == kissed) {
                fields.Stratum = 0;
                fields.ReferenceId = code;
            }
            return std::optional(fields);
        };
    }

    // Whether every request came 2 s or more after the one before, as RFC 4330 asks.
    bool Spaced() const {
        for (std::size_t i = 1; i < RequestTimes.size(); ++i) {
            if (RequestTimes[i] - RequestTimes[i - 1] < 2000) {
                return false;
            }
        }
        return true;
    }

    static constexpr double kTripSeconds = 0.02;
};

} // namespace norvale::testing
