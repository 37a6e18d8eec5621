#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The parts of the zip format a skin package uses: one disk, no ZIP64, entries stored or
// deflated, sizes and CRC in the headers. All numbers are little-endian.
namespace norvale::zip {

inline constexpr std::uint32_t kLocalSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralSignature = 0x02014B50;
inline constexpr std::uint32_t kEndSignature = 0x06054B50;
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;

inline constexpr std::size_t kLocalSize = 30;
inline constexpr std::size_t kCentralSize = 46;
inline constexpr std::size_t kEndSize = 22;
inline constexpr std::size_t kZip64LocatorSize = 20;

// General purpose flags.
inline constexpr std::uint16_t kEncrypted = 0x0001;
inline constexpr std::uint16_t kDeflateOptions = 0x0006;
inline constexpr std::uint16_t kDataDescriptor = 0x0008;
inline constexpr std::uint16_t kUtf8Names = 0x0800;

inline constexpr std::uint16_t kStored = 0;
inline constexpr std::uint16_t kDeflated = 8;
// Version 2.0: deflate and folders, all a package needs.
inline constexpr std::uint16_t kVersion = 20;
// The extra field that carries ZIP64 sizes.
inline constexpr std::uint16_t kZip64Extra = 0x0001;

// The hosts whose "version made by" puts a file's mode in the top half of its external
// attributes; every host keeps the MS-DOS attributes in the low byte.
inline constexpr std::uint8_t kUnixHost = 3;
inline constexpr std::uint8_t kDarwinHost = 19;
inline constexpr std::uint32_t kModeTypeMask = 0170000;
inline constexpr std::uint32_t kModeRegular = 0100000;
inline constexpr std::uint32_t kModeFolder = 0040000;
inline constexpr std::uint32_t kModeLink = 0120000;
inline constexpr std::uint32_t kDosFolder = 0x10;
inline constexpr std::uint32_t kDosReparsePoint = 0x400; // a link or a junction

inline std::uint16_t Get16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(Get16(bytes, at)) |
           static_cast<std::uint32_t>(Get16(bytes, at + 2)) << 16;
}

inline void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace norvale::zip
