#include "core/skin/zip_writer.h"

#include "core/skin/zip_format.h"

#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <zlib.h>

namespace norvale {
namespace {

using namespace zip;

constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = 1 << 5 | 1; // 1980-01-01, the first day a zip can name

// The bytes deflated raw at the best compression, or nullopt when that gains nothing.
std::optional<std::string> Deflated(std::string_view bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::bad_alloc();
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::bad_alloc();
    }
    if (out.size() >= bytes.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace

// The fields both headers of an entry share, in their order: the version needed to read it
// up to the length of its name.
void ZipWriter::PutEntry(std::string& out, const Written& entry) {
    Put16(out, kVersion);
    Put16(out, kUtf8Names);
    Put16(out, entry.Method);
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, entry.Crc);
    Put32(out, entry.Compressed);
    Put32(out, entry.Size);
    Put16(out, static_cast<std::uint32_t>(entry.Name.size()));
}

void ZipWriter::Add(std::string_view name, std::string_view bytes) {
    constexpr auto kMost = std::numeric_limits<std::uint32_t>::max() - 1;
    if (bytes.size() > kMost || FOut.size() > kMost || name.size() > 0xFFFF ||
        FEntries.size() == 0xFFFE) {
        throw std::length_error("the package would need ZIP64");
    }
    const std::optional<std::string> deflated = Deflated(bytes);
    const std::string_view data = deflated ? std::string_view(*deflated) : bytes;
    const Written entry{
        std::string(name),
        deflated ? kDeflated : kStored,
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
                                         static_cast<uInt>(bytes.size()))),
        static_cast<std::uint32_t>(data.size()),
        static_cast<std::uint32_t>(bytes.size()),
        static_cast<std::uint32_t>(FOut.size())};
    Put32(FOut, kLocalSignature);
    PutEntry(FOut, entry);
    Put16(FOut, 0); // no extra fields
    FOut += name;
    FOut += data;
    FEntries.push_back(entry);
}

std::string ZipWriter::Finish() {
    std::string out = std::move(FOut);
    FOut.clear();
    const auto directory = static_cast<std::uint32_t>(out.size());
    for (const Written& entry : FEntries) {
        Put32(out, kCentralSignature);
        Put16(out, kVersion); // made on MS-DOS terms: the attributes below are DOS attributes
        PutEntry(out, entry);
        Put16(out, 0); // extra fields
        Put16(out, 0); // comment
        Put16(out, 0); // disk
        Put16(out, 0); // internal attributes
        Put32(out, 0); // external attributes: a plain file
        Put32(out, entry.Header);
        out += entry.Name;
    }
    const auto count = static_cast<std::uint32_t>(FEntries.size());
    const auto size = static_cast<std::uint32_t>(out.size() - directory);
    Put32(out, kEndSignature);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, count);
    Put16(out, count);
    Put32(out, size);
    Put32(out, directory);
    Put16(out, 0);
    FEntries.clear();
    return out;
}

} // namespace norvale
