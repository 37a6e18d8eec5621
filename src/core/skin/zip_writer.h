#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// Makes a zip file in memory the way skin packages are made, so that the same files always
// give the same bytes: entries in the order added, each deflated (or stored where deflating
// gains nothing), names marked UTF-8 and taken as given, every entry dated 1 January 1980,
// no attributes, no extra fields, no comments.
class ZipWriter {
public:
    // Throws std::length_error past what a zip without ZIP64 holds.
    void Add(std::string_view name, std::string_view bytes);
    // Ends the file with the central directory and the end record and hands it over; the
    // writer is empty again.
    std::string Finish();

private:
    struct Written {
        std::string Name;
        std::uint16_t Method;
        std::uint32_t Crc;
        std::uint32_t Compressed;
        std::uint32_t Size;
        std::uint32_t Header;
    };

    static void PutEntry(std::string& out, const Written& entry);

    std::string FOut;
    std::vector<Written> FEntries;
};

} // namespace norvale
