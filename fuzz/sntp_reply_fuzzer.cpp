#include "core/net/sntp_client.h"
#include "core/time/system_time.h"
#include "support/fake_clock.h"
#include "support/fake_random_source.h"
#include "support/fake_udp_socket.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace norvale;

// One datagram that arrives after one of the requests: raw bytes, or a reply made of chosen
// fields with timestamps near the request's, so that believable replies come up often.
struct Arrival {
    std::size_t AfterRequest = 0;
    std::uint8_t Flags = 0; // bit 0: from another port; bit 1: no echo; bit 2: made of fields
    int WaitedMs = 0;
    std::vector<std::uint8_t> Bytes;
    std::int64_t ReceiveAfterMs = 0;  // the server's Receive Timestamp after the request's
    std::int64_t TransmitAfterMs = 0; // its Transmit Timestamp after the Receive Timestamp
};

// The reply of an arrival made of fields: its bytes give the header, the stratum, the root
// delay and dispersion and the low bits of the fractions, as far as they reach.
std::vector<std::uint8_t> MadeOfFields(const Arrival& arrival,
                                       std::span<const std::uint8_t> request) {
    std::vector<std::uint8_t> reply(kNtpPacketSize, 0);
    std::copy_n(arrival.Bytes.begin(), std::min(arrival.Bytes.size(), std::size_t{12}),
                reply.begin());
    const std::int64_t sent =
        NtpTimestampMilliseconds(ReadNtpTimestamp(request, kNtpTransmitOffset));
    const std::int64_t received = sent + arrival.ReceiveAfterMs;
    WriteNtpTimestamp(reply, kNtpReceiveOffset, NtpTimestampFromMilliseconds(received));
    WriteNtpTimestamp(reply, kNtpTransmitOffset,
                      NtpTimestampFromMilliseconds(received + arrival.TransmitAfterMs));
    return reply;
}

// What was delivered after a request, with the request it followed.
struct Delivered {
    std::vector<std::uint8_t> Request;
    UdpEndpoint To;
    Datagram Datagram;
};

std::uint32_t Word(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
           (std::uint32_t{bytes[offset + 2]} << 8) | bytes[offset + 3];
}

std::int64_t Milliseconds(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return NtpTimestampMilliseconds({Word(bytes, offset), Word(bytes, offset + 4)});
}

// Whether a datagram is a server's reply to the request it followed, from where it was sent,
// echoing the request's Transmit Timestamp.
bool AnswersRequest(const Delivered& d) {
    const std::vector<std::uint8_t>& r = d.Datagram.Bytes;
    return d.Datagram.From == d.To && r.size() >= 48 && (r[0] & 7) == 4 &&
           std::equal(r.begin() + 24, r.begin() + 32, d.Request.begin() + 40);
}

// A kiss-o'-death that tells a client to stop: stratum 0 and RATE, DENY or RSTR.
bool KissToStop(const std::vector<std::uint8_t>& r) {
    const std::string code(r.begin() + 12, r.begin() + 16);
    return r[1] == 0 && (code == "RATE" || code == "DENY" || code == "RSTR");
}

// The oracle's own reading of RFC 4330 section 5 and the bounds, written apart from the
// client: whether a datagram is a believable reply to the request it followed, and if so the
// correction (in milliseconds) it asks for.
std::optional<double> BelievableCorrection(const Delivered& d, bool checkStratum,
                                           std::int64_t nowMs) {
    const std::vector<std::uint8_t>& r = d.Datagram.Bytes;
    if (!AnswersRequest(d) || KissToStop(r)) {
        return std::nullopt;
    }
    const int leap = r[0] >> 6;
    const int stratum = r[1];
    const bool zeroReceive = Word(r, 32) == 0 && Word(r, 36) == 0;
    const bool zeroTransmit = Word(r, 40) == 0 && Word(r, 44) == 0;
    const double rootDistance = Word(r, 4) / 131072.0 + Word(r, 8) / 65536.0;
    const std::int64_t t1 = Milliseconds(r, 24);
    const std::int64_t t2 = Milliseconds(r, 32);
    const std::int64_t t3 = Milliseconds(r, 40);
    if (leap == 3 || zeroReceive || zeroTransmit || t3 < t2 || rootDistance > 1 ||
        (checkStratum && (stratum == 0 || stratum > 15))) {
        return std::nullopt;
    }
    return ((t2 - t1) + (t3 - nowMs)) / 2.0;
}

// The input chooses the computer's zone and clock, the stratum check, the time limit, the
// user's consent, the server's addresses and the datagrams that arrive after each request.
void SyncOnce(FuzzedDataProvider& input) {
    // The computer's own clock and zone are trusted: any date from 1900 to 9999, biases of
    // up to a day. The clock stands still during the query.
    testing::FakeClock clock(input.ConsumeFloatingPointInRange<double>(2, 2'958'465));
    clock.Zone.Bias = input.ConsumeIntegralInRange(-1440, 1440);
    clock.Zone.StandardBias = input.ConsumeIntegralInRange(-1440, 1440);
    clock.Zone.DaylightBias = input.ConsumeIntegralInRange(-1440, 1440);
    const std::uint32_t zoneResults[] = {kTimeZoneIdUnknown, kTimeZoneIdStandard,
                                         kTimeZoneIdDaylight, kTimeZoneIdInvalid};
    clock.ZoneResult = zoneResults[input.ConsumeIntegralInRange(0, 3)];
    testing::FakeUdpSocket socket;
    testing::FakeRandomSource random;
    random.Next = input.ConsumeIntegral<std::uint32_t>();
    random.Step = input.ConsumeIntegral<std::uint32_t>();

    std::vector<Delivered> delivered;
    std::vector<SYSTEMTIME> settings;
    struct OracleSetter final : ClockSetter {
        std::vector<SYSTEMTIME>& Calls;
        explicit OracleSetter(std::vector<SYSTEMTIME>& calls) : Calls(calls) {}
        ClockSetResult SetSystemTime(const SYSTEMTIME& utc) override {
            Calls.push_back(utc);
            return ClockSetResult::Set;
        }
    } setter(settings);
    TIdSNTP sntp(socket, clock, setter, random);
    sntp.CheckStratum = input.ConsumeBool();
    sntp.ReceiveTimeout = input.ConsumeIntegralInRange(0, 5000);
    std::optional<DateTime> consent;
    if (input.ConsumeBool()) {
        consent = input.ConsumeFloatingPointInRange<double>(-40'000, 40'000);
    }
    const std::size_t addressCount = input.ConsumeIntegralInRange(1, 3);
    for (std::size_t i = 0; i < addressCount; ++i) {
        std::array<std::uint8_t, 16> v6{};
        v6[15] = static_cast<std::uint8_t>(i + 1);
        socket.Addresses.push_back(input.ConsumeBool() ? Ipv6Endpoint(v6, 123)
                                                       : Ipv4Endpoint({127, 0, 0, 1}, 123));
    }

    std::vector<Arrival> arrivals;
    while (input.remaining_bytes() > 0 && arrivals.size() < 24) {
        Arrival arrival;
        arrival.AfterRequest = input.ConsumeIntegralInRange(0, 11);
        arrival.Flags = input.ConsumeIntegral<std::uint8_t>();
        arrival.WaitedMs = input.ConsumeIntegralInRange(0, 3000);
        if ((arrival.Flags & 4) != 0) {
            // From a few milliseconds to a few centuries either way.
            const int scale = input.ConsumeIntegralInRange(0, 40);
            arrival.ReceiveAfterMs = input.ConsumeIntegralInRange<std::int64_t>(
                -(std::int64_t{1} << scale), std::int64_t{1} << scale);
            arrival.TransmitAfterMs = input.ConsumeIntegralInRange<std::int64_t>(-2, 50);
        }
        arrival.Bytes = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 64));
        arrivals.push_back(std::move(arrival));
    }
    std::size_t requests = 0;
    socket.Respond = [&](std::span<const std::uint8_t> request) {
        std::vector<Datagram> datagrams;
        const UdpEndpoint to = socket.SentTo.back();
        for (const Arrival& arrival : arrivals) {
            if (arrival.AfterRequest != requests) {
                continue;
            }
            Datagram datagram{(arrival.Flags & 4) != 0 ? MadeOfFields(arrival, request)
                                                       : arrival.Bytes,
                              to, arrival.WaitedMs};
            if ((arrival.Flags & 1) != 0) {
                datagram.From.Port = 124;
            }
            if ((arrival.Flags & 2) == 0 && datagram.Bytes.size() >= kNtpPacketSize) {
                WriteNtpTimestamp(datagram.Bytes, kNtpOriginateOffset,
                                  ReadNtpTimestamp(request, kNtpTransmitOffset));
            }
            delivered.push_back({{request.begin(), request.end()}, to, datagram});
            datagrams.push_back(std::move(datagram));
        }
        ++requests;
        return datagrams;
    };

    SyncResult result = SyncResult::NoUsableReply;
    try {
        result = sntp.SyncClockToServer(consent);
    } catch (const std::runtime_error&) {
        // A zone the computer cannot report: the query fails with its text.
        if (clock.ZoneResult != kTimeZoneIdInvalid || socket.IsOpen() || !settings.empty()) {
            std::abort();
        }
        return;
    }
    if ((result == SyncResult::Set) != (settings.size() == 1) || settings.size() > 1) {
        std::abort();
    }
    // One action's requests at most, and a kiss-o'-death is the last thing asked: it answers
    // the last request, and nothing it said or said before it sets the clock.
    if (socket.Requests.size() > std::size_t{kActionRequests}) {
        std::abort();
    }
    const ReplyFaultKind fault = sntp.LastFault().Kind;
    if (fault == ReplyFaultKind::SlowDown || fault == ReplyFaultKind::Refused) {
        const bool lastAnswered = std::any_of(delivered.begin(), delivered.end(), [&](auto& d) {
            return d.Request == socket.Requests.back() && AnswersRequest(d) &&
                   KissToStop(d.Datagram.Bytes);
        });
        if (!lastAnswered || result != SyncResult::NoUsableReply) {
            std::abort();
        }
    }
    if (settings.empty()) {
        return;
    }
    // The clock was set: by the correction of a believable reply, within the bound or the
    // consent. Corrections agree to 2 ms (the setter's whole milliseconds, the double's
    // precision at far dates).
    const DateTime utcNow = clock.Now() + sntp.LocalBias();
    const std::optional<DateTime> setTo = SystemTimeToDateTime(settings[0]);
    if (!setTo) {
        std::abort();
    }
    const double correctionMs = (*setTo - utcNow) * kMillisecondsPerDay;
    const std::int64_t nowMs = NtpTimestampMilliseconds(sntp.ToNtpTimestamp(clock.Now()));
    bool explained = false;
    for (const Delivered& d : delivered) {
        const std::optional<double> expected = BelievableCorrection(d, sntp.CheckStratum, nowMs);
        explained = explained || (expected && std::fabs(*expected - correctionMs) <= 2);
    }
    const bool withinBound = std::fabs(correctionMs) <= kMaxStepSeconds * 1000 + 2;
    const bool consented = consent && std::fabs(correctionMs - *consent * kMillisecondsPerDay) <=
                                          kConsentToleranceSeconds * 1000 + 2;
    if (!explained || !(withinBound || consented)) {
        std::abort();
    }
}

} // namespace

// Any datagrams as the time server's replies to a synchronisation: the computer's clock is set
// at most once, and only by the correction of a reply that passes every check, within the
// step bound or the consent given; never a crash, never an open socket left by an error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    SyncOnce(input);
    return 0;
}
