#include "core/net/sntp_client.h"
#include "support/fake_clock.h"
#include "support/fake_clock_setter.h"
#include "support/fake_udp_socket.h"

#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdexcept>
#include <vector>

namespace {

using namespace norvale;

// The input chooses the computer's zone, the clock, the stratum check and the datagrams that
// arrive after the request.
void QueryOnce(FuzzedDataProvider& input) {
    // The computer's own clock and zone are trusted: any date from 1900 to 9999, biases of
    // up to a day.
    testing::FakeClock clock(input.ConsumeFloatingPointInRange<double>(2, 2'958'465));
    clock.Zone.Bias = input.ConsumeIntegralInRange(-1440, 1440);
    clock.Zone.StandardBias = input.ConsumeIntegralInRange(-1440, 1440);
    clock.Zone.DaylightBias = input.ConsumeIntegralInRange(-1440, 1440);
    const std::uint32_t zoneResults[] = {kTimeZoneIdUnknown, kTimeZoneIdStandard,
                                         kTimeZoneIdDaylight, kTimeZoneIdInvalid};
    clock.ZoneResult = zoneResults[input.ConsumeIntegralInRange(0, 3)];
    testing::FakeUdpSocket socket;
    testing::FakeClockSetter setter;
    TIdSNTP sntp(socket, clock, setter);
    sntp.CheckStratum = input.ConsumeBool();
    sntp.ReceiveTimeout = input.ConsumeIntegralInRange(0, 5000);

    // Each datagram: a flag byte (bit 0: from another port, bit 1: not echoing our request)
    // and its bytes. They are built before the request is known and patched as it is sent.
    std::vector<std::uint8_t> flags;
    std::vector<std::vector<std::uint8_t>> replies;
    while (input.remaining_bytes() > 0 && replies.size() < 20) {
        flags.push_back(input.ConsumeIntegral<std::uint8_t>());
        replies.push_back(input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 64)));
    }
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        std::vector<Datagram> datagrams;
        for (std::size_t i = 0; i < replies.size(); ++i) {
            Datagram datagram{replies[i], socket.Server, static_cast<int>(i * 100)};
            const std::uint8_t flag = flags[i];
            if ((flag & 1) != 0) {
                datagram.From.Port = 124;
            }
            if ((flag & 2) == 0 && datagram.Bytes.size() >= kNtpPacketSize) {
                WriteNtpTimestamp(datagram.Bytes, kNtpOriginateOffset,
                                  ReadNtpTimestamp(request, kNtpTransmitOffset));
            }
            datagrams.push_back(std::move(datagram));
        }
        return datagrams;
    };

    try {
        if (sntp.SyncClockToServer() && setter.Calls.size() != 1) {
            std::abort();
        }
    } catch (const std::runtime_error&) {
        // A zone the computer cannot report: the query fails with its text.
        if (clock.ZoneResult != kTimeZoneIdInvalid || socket.IsOpen()) {
            std::abort();
        }
        return;
    }
    for (const auto& reply : replies) {
        sntp.ReplyRejected(reply);
    }
}

} // namespace

// Any datagrams as the time server's replies: either a reply taken, with the computer's clock
// set once, or none; never a crash, never an open socket left behind by an error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    QueryOnce(input);
    return 0;
}
