#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The 48-byte SNTP packet and its 64-bit timestamps (seconds since 1900-01-01 00:00 UTC and
// a fraction in units of 2^-32 s, both big-endian).

namespace norvale {

inline constexpr std::size_t kNtpPacketSize = 48;
inline constexpr std::size_t kNtpRootDelayOffset = 4;
inline constexpr std::size_t kNtpRootDispersionOffset = 8;
inline constexpr std::size_t kNtpReferenceIdOffset = 12;
inline constexpr std::size_t kNtpOriginateOffset = 24;
inline constexpr std::size_t kNtpReceiveOffset = 32;
inline constexpr std::size_t kNtpTransmitOffset = 40;

// Leap Indicator 0, Version 3, Mode 3 (client).
inline constexpr std::uint8_t kSntpRequestHeader = 0x1B;
inline constexpr int kNtpModeServer = 4;

struct NtpTimestamp {
    std::uint32_t Seconds = 0;
    std::uint32_t Fraction = 0;

    friend bool operator==(const NtpTimestamp&, const NtpTimestamp&) = default;
};

using NtpPacket = std::array<std::uint8_t, kNtpPacketSize>;

// Whole milliseconds since 1900 as a timestamp; the seconds wrap modulo 2^32, so an
// instant from 2036-02-07 06:28:16 UTC on lands in the second era. Reading it back with
// NtpTimestampMilliseconds gives the same milliseconds.
NtpTimestamp NtpTimestampFromMilliseconds(std::int64_t millisecondsSince1900);

// The inverse, to whole milliseconds (the fraction truncated). A seconds word whose top bit
// is clear is read in the era that starts 2036-02-07 06:28:16 UTC (RFC 4330 section 3).
std::int64_t NtpTimestampMilliseconds(NtpTimestamp timestamp);

// Reads the timestamp at a byte offset of a packet (offset + 8 <= packet size).
NtpTimestamp ReadNtpTimestamp(std::span<const std::uint8_t> packet, std::size_t offset);

// Reads a 32-bit field in NTP short format (16.16 unsigned fixed point) as seconds.
double ReadNtpShortSeconds(std::span<const std::uint8_t> packet, std::size_t offset);

// Writes a timestamp at a byte offset of a packet (offset + 8 <= packet size).
void WriteNtpTimestamp(std::span<std::uint8_t> packet, std::size_t offset, NtpTimestamp timestamp);

// The client request: all zero but the header byte and the Transmit Timestamp.
NtpPacket BuildSntpRequest(NtpTimestamp transmit);

} // namespace norvale
