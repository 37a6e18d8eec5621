#include "core/net/ntp_packet.h"

namespace norvale {
namespace {

constexpr std::int64_t kEraSeconds = std::int64_t{1} << 32;
constexpr std::uint32_t kEraBoundaryBit = 0x80000000U;

std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
           (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

void WriteBigEndian32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

} // namespace

NtpTimestamp NtpTimestampFromMilliseconds(std::int64_t millisecondsSince1900) {
    // Floor division, so that an instant before 1900 still gets a fraction in [0, 1).
    std::int64_t seconds = millisecondsSince1900 / 1000;
    std::int64_t milliseconds = millisecondsSince1900 % 1000;
    if (milliseconds < 0) {
        --seconds;
        milliseconds += 1000;
    }
    // Rounded up, so that reading the fraction back in whole milliseconds (truncating) gives
    // the same millisecond.
    const auto fraction = static_cast<std::uint32_t>(((milliseconds << 32) + 999) / 1000);
    return {static_cast<std::uint32_t>(seconds), fraction};
}

std::int64_t NtpTimestampMilliseconds(NtpTimestamp timestamp) {
    std::int64_t seconds = timestamp.Seconds;
    if ((timestamp.Seconds & kEraBoundaryBit) == 0) {
        seconds += kEraSeconds;
    }
    const std::int64_t milliseconds = (std::int64_t{timestamp.Fraction} * 1000) >> 32;
    return seconds * 1000 + milliseconds;
}

NtpTimestamp ReadNtpTimestamp(std::span<const std::uint8_t> packet, std::size_t offset) {
    return {ReadBigEndian32(packet, offset), ReadBigEndian32(packet, offset + 4)};
}

double ReadNtpShortSeconds(std::span<const std::uint8_t> packet, std::size_t offset) {
    constexpr double kUnitsPerSecond = 65536;
    return ReadBigEndian32(packet, offset) / kUnitsPerSecond;
}

void WriteNtpTimestamp(std::span<std::uint8_t> packet, std::size_t offset, NtpTimestamp timestamp) {
    WriteBigEndian32(packet, offset, timestamp.Seconds);
    WriteBigEndian32(packet, offset + 4, timestamp.Fraction);
}

NtpPacket BuildSntpRequest(NtpTimestamp transmit) {
    NtpPacket request{};
    request[0] = kSntpRequestHeader;
    WriteNtpTimestamp(request, kNtpTransmitOffset, transmit);
    return request;
}

} // namespace norvale
