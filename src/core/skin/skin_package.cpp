#include "core/skin/skin_package.h"

#include "core/skin/skin_limits.h"
#include "core/skin/skin_package_names.h"
#include "core/skin/zip_format.h"
#include "core/text/utf16.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <zlib.h>

namespace norvale {
namespace {

using namespace zip;

// An entry as the central directory describes it, checked against its local header.
struct Entry {
    std::string Name;
    package::EntryName Parts;
    std::uint16_t Flags = 0;
    std::uint16_t Method = 0;
    std::uint32_t Crc = 0;
    std::uint32_t Compressed = 0;
    std::uint32_t Size = 0;
    std::size_t Header = 0; // where its local header starts
    std::size_t Data = 0;   // where its data starts
};

[[noreturn]] void Refuse(std::string_view shown, const std::string& fault) {
    throw SkinPackageError("The skin package \"" + EscapeControls(shown) + "\" cannot be read.\n" +
                           fault);
}

std::string Hex16(std::uint16_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += kDigits[value >> shift & 0xF];
    }
    return text;
}

// An entry's name as messages show it: its control characters escaped, a long one cut.
std::string Shown(std::string_view name) {
    constexpr std::size_t kShown = 96;
    const std::string_view prefix = Utf8Prefix(name, kShown);
    return "\"" + EscapeControls(prefix) + (prefix.size() < name.size() ? "...\"" : "\"");
}

class Reader {
public:
    Reader(std::span<const std::uint8_t> bytes, std::string_view shown)
        : FBytes(bytes), FShown(shown) {}

    SkinPackage Run();

private:
    [[noreturn]] void Fail(const std::string& fault) const { Refuse(FShown, fault); }
    [[noreturn]] void FailEntry(const Entry& entry, const std::string& fault) const {
        Fail("entry " + Shown(entry.Name) + ": " + fault);
    }
    void ReadEnd();
    Entry ReadCentral(std::size_t& at, std::size_t end);
    void CheckFlags(const Entry& entry, std::uint16_t needed) const;
    void CheckAttributes(const Entry& entry, std::uint16_t madeBy, std::uint32_t attributes) const;
    void CheckKind(const Entry& entry);
    void CheckExtra(const Entry& entry, std::size_t at, std::size_t length) const;
    void CheckLocal(Entry& entry) const;
    void CheckLayout(std::vector<Entry> entries) const;
    std::string Inflate(const Entry& entry) const;

    std::span<const std::uint8_t> FBytes;
    std::string_view FShown;
    std::size_t FDirectory = 0; // where the central directory starts, and the entries end
    std::size_t FDirectoryEnd = 0;
    std::size_t FCount = 0;
    std::uint64_t FTotal = 0;
    package::EntryNames FNames;
};

void Reader::ReadEnd() {
    if (FBytes.size() < kEndSize || Get32(FBytes, FBytes.size() - kEndSize) != kEndSignature) {
        Fail("it is not a zip file, or it ends in a comment");
    }
    const std::size_t end = FBytes.size() - kEndSize;
    if (end >= kZip64LocatorSize &&
        Get32(FBytes, end - kZip64LocatorSize) == kZip64LocatorSignature) {
        Fail("it uses ZIP64, which no skin package needs");
    }
    const std::uint16_t count = Get16(FBytes, end + 10);
    const std::uint32_t size = Get32(FBytes, end + 12);
    const std::uint32_t offset = Get32(FBytes, end + 16);
    if (count == 0xFFFF || size == 0xFFFFFFFF || offset == 0xFFFFFFFF) {
        Fail("it uses ZIP64, which no skin package needs");
    }
    if (Get16(FBytes, end + 4) != 0 || Get16(FBytes, end + 6) != 0 ||
        Get16(FBytes, end + 8) != count) {
        Fail("it spans several disks");
    }
    if (Get16(FBytes, end + 20) != 0) {
        Fail("its end record announces a comment it does not hold");
    }
    if (count == 0) {
        Fail("it holds no entries");
    }
    if (count > kMaxSkinPackageEntries) {
        Fail("it holds " + std::to_string(count) + " entries, more than " +
             std::to_string(kMaxSkinPackageEntries));
    }
    if (static_cast<std::uint64_t>(offset) + size != end) {
        Fail("its central directory is damaged: it does not end where the end record starts");
    }
    FDirectory = offset;
    FDirectoryEnd = end;
    FCount = count;
}

Entry Reader::ReadCentral(std::size_t& at, std::size_t end) {
    if (end - at < kCentralSize || Get32(FBytes, at) != kCentralSignature) {
        Fail("its central directory is damaged at byte " + std::to_string(at));
    }
    const std::size_t nameLength = Get16(FBytes, at + 28);
    const std::size_t extraLength = Get16(FBytes, at + 30);
    const std::size_t commentLength = Get16(FBytes, at + 32);
    if (end - at - kCentralSize < nameLength + extraLength + commentLength) {
        Fail("its central directory is damaged at byte " + std::to_string(at));
    }
    Entry entry;
    entry.Name.assign(reinterpret_cast<const char*>(FBytes.data() + at + kCentralSize), nameLength);
    entry.Flags = Get16(FBytes, at + 8);
    entry.Method = Get16(FBytes, at + 10);
    entry.Crc = Get32(FBytes, at + 16);
    entry.Compressed = Get32(FBytes, at + 20);
    entry.Size = Get32(FBytes, at + 24);
    entry.Header = Get32(FBytes, at + 42);
    if (entry.Name.empty()) {
        Fail("an entry has no name");
    }
    const bool ascii = std::all_of(entry.Name.begin(), entry.Name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && (entry.Flags & kUtf8Names) == 0) {
        FailEntry(entry, "the name is not ASCII and not marked as UTF-8");
    }
    if (!IsWellFormedUtf8(entry.Name)) {
        FailEntry(entry, "the name is not UTF-8");
    }
    CheckFlags(entry, Get16(FBytes, at + 6));
    if (entry.Compressed == 0xFFFFFFFF || entry.Size == 0xFFFFFFFF || entry.Header == 0xFFFFFFFF ||
        Get16(FBytes, at + 34) == 0xFFFF) {
        FailEntry(entry, "it uses ZIP64, which no skin package needs");
    }
    if (Get16(FBytes, at + 34) != 0) {
        FailEntry(entry, "it lies on another disk");
    }
    if (commentLength != 0) {
        FailEntry(entry, "it has a comment, which no skin package needs");
    }
    CheckExtra(entry, at + kCentralSize + nameLength, extraLength);
    try {
        entry.Parts = package::SplitEntryName(entry.Name);
    } catch (const package::EntryFault& e) {
        FailEntry(entry, e.what());
    }
    CheckAttributes(entry, Get16(FBytes, at + 4), Get32(FBytes, at + 38));
    CheckKind(entry);
    at += kCentralSize + nameLength + extraLength + commentLength;
    return entry;
}

void Reader::CheckFlags(const Entry& entry, std::uint16_t needed) const {
    // Bit 6 is strong encryption, bit 13 an encrypted directory.
    if ((entry.Flags & (kEncrypted | 0x0040 | 0x2000)) != 0) {
        FailEntry(entry, "it is encrypted");
    }
    if ((entry.Flags & kDataDescriptor) != 0) {
        FailEntry(entry,
                  "its sizes follow its data (a data descriptor), which no skin package needs");
    }
    if ((entry.Flags & ~(kDeflateOptions | kUtf8Names)) != 0) {
        FailEntry(entry,
                  "it uses zip features no skin package needs (flags " + Hex16(entry.Flags) + ")");
    }
    if ((needed & 0xFF) > kVersion) {
        FailEntry(entry, "it needs zip version " + std::to_string((needed & 0xFF) / 10) + "." +
                             std::to_string((needed & 0xFF) % 10) + "; a skin package needs 2.0");
    }
    if (entry.Method != kStored && entry.Method != kDeflated) {
        FailEntry(entry, "it is compressed with method " + std::to_string(entry.Method) +
                             "; only stored and deflated entries are read");
    }
}

// A link, a junction or a device would lead outside the skin once unpacked: only files and
// folders are taken, and an entry must be what its name says.
void Reader::CheckAttributes(const Entry& entry, std::uint16_t madeBy,
                             std::uint32_t attributes) const {
    const auto host = static_cast<std::uint8_t>(madeBy >> 8);
    const bool unixMode = host == kUnixHost || host == kDarwinHost;
    const std::uint32_t type = unixMode ? (attributes >> 16) & kModeTypeMask : 0;
    if (type == kModeLink || (attributes & kDosReparsePoint) != 0) {
        FailEntry(entry, "it is a link");
    }
    if (type != 0 && type != kModeRegular && type != kModeFolder) {
        FailEntry(entry, "it is not a regular file (a device, a pipe or a socket)");
    }
    const bool folder = type == kModeFolder || (attributes & kDosFolder) != 0;
    if (folder != entry.Parts.Folder) {
        FailEntry(entry, entry.Parts.Folder ? "its name ends in \"/\" but it is no folder"
                                            : "it is a folder but its name does not end in \"/\"");
    }
}

void Reader::CheckKind(const Entry& entry) {
    if (entry.Parts.Folder) {
        if (entry.Size != 0 || entry.Compressed != 0) {
            FailEntry(entry, "a folder holds data");
        }
    } else {
        const auto most = package::MaxFileBytes(entry.Parts.Path);
        if (!most) {
            FailEntry(entry, "no skin uses a file of this kind (a package holds skin.xml, .png "
                             "images, .ttf and .otf fonts in fonts, .txt and .md texts)");
        }
        if (entry.Size > *most) {
            FailEntry(entry, "the file holds " + std::to_string(entry.Size) + " bytes, more than " +
                                 std::to_string(*most));
        }
    }
    if (entry.Method == kStored && entry.Compressed != entry.Size) {
        FailEntry(entry, "it is stored, but its two sizes differ");
    }
    if (entry.Method == kDeflated &&
        entry.Size > static_cast<std::uint64_t>(entry.Compressed) * kMaxSkinPackageRatio +
                         kMaxSkinPackageSlack) {
        FailEntry(entry, "it would inflate from " + std::to_string(entry.Compressed) + " to " +
                             std::to_string(entry.Size) + " bytes, more than " +
                             std::to_string(kMaxSkinPackageRatio) + " times");
    }
    FTotal += entry.Size;
    if (FTotal > kMaxSkinBytes) {
        FailEntry(entry, "the skin's files hold more than " + std::to_string(kMaxSkinBytes) +
                             " bytes together");
    }
}

// Extra fields are walked, so that none hides ZIP64 sizes and none runs past its entry.
void Reader::CheckExtra(const Entry& entry, std::size_t at, std::size_t length) const {
    const std::size_t end = at + length;
    while (at < end) {
        if (end - at < 4 || end - at - 4 < Get16(FBytes, at + 2)) {
            FailEntry(entry, "its extra fields are damaged");
        }
        if (Get16(FBytes, at) == kZip64Extra) {
            FailEntry(entry, "it uses ZIP64, which no skin package needs");
        }
        at += 4 + static_cast<std::size_t>(Get16(FBytes, at + 2));
    }
}

void Reader::CheckLocal(Entry& entry) const {
    const std::size_t at = entry.Header;
    if (at > FDirectory || FDirectory - at < kLocalSize || Get32(FBytes, at) != kLocalSignature) {
        FailEntry(entry, "its local header is missing or damaged");
    }
    const std::size_t nameLength = Get16(FBytes, at + 26);
    const std::size_t extraLength = Get16(FBytes, at + 28);
    const bool agrees =
        Get16(FBytes, at + 6) == entry.Flags && Get16(FBytes, at + 8) == entry.Method &&
        Get32(FBytes, at + 14) == entry.Crc && Get32(FBytes, at + 18) == entry.Compressed &&
        Get32(FBytes, at + 22) == entry.Size && nameLength == entry.Name.size() &&
        FDirectory - at - kLocalSize >= nameLength + extraLength &&
        std::memcmp(FBytes.data() + at + kLocalSize, entry.Name.data(), nameLength) == 0;
    if (!agrees) {
        FailEntry(entry, "its local header disagrees with the central directory");
    }
    CheckExtra(entry, at + kLocalSize + nameLength, extraLength);
    entry.Data = at + kLocalSize + nameLength + extraLength;
    if (FDirectory - entry.Data < entry.Compressed) {
        FailEntry(entry, "its data runs into the central directory");
    }
}

// The entries, in the order they lie, follow one another from the first byte to the central
// directory: no bytes hidden between them, none shared by two.
void Reader::CheckLayout(std::vector<Entry> entries) const {
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.Header < b.Header; });
    std::size_t expected = 0;
    for (const Entry& entry : entries) {
        if (entry.Header != expected) {
            FailEntry(entry, entry.Header < expected
                                 ? "it overlaps the entry before it"
                                 : "bytes that belong to no entry lie before it");
        }
        expected = entry.Data + entry.Compressed;
    }
    if (expected != FDirectory) {
        Fail("bytes that belong to no entry lie before its central directory");
    }
}

std::string Reader::Inflate(const Entry& entry) const {
    std::string out(entry.Size, '\0');
    const std::uint8_t* in = FBytes.data() + entry.Data;
    if (entry.Method == kStored) {
        std::memcpy(out.data(), in, entry.Size);
    } else {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            throw std::bad_alloc();
        }
        stream.next_in = const_cast<Bytef*>(in);
        stream.avail_in = entry.Compressed;
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = entry.Size;
        // The output has room for the size declared and no more: a longer stream stops there.
        const int result = inflate(&stream, Z_FINISH);
        const uInt inLeft = stream.avail_in;
        const uInt outLeft = stream.avail_out;
        inflateEnd(&stream);
        if (result == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT) {
            FailEntry(entry, "its compressed data is damaged");
        }
        if (result != Z_STREAM_END) {
            FailEntry(entry, outLeft == 0 ? "it inflates to more than the " +
                                                std::to_string(entry.Size) + " bytes it declares"
                                          : "its compressed data is cut short");
        }
        if (outLeft != 0) {
            FailEntry(entry, "it inflates to " + std::to_string(entry.Size - outLeft) +
                                 " bytes, not the " + std::to_string(entry.Size) + " it declares");
        }
        if (inLeft != 0) {
            FailEntry(entry, "bytes follow its compressed data");
        }
    }
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(out.data()), entry.Size);
    if (crc != entry.Crc) {
        FailEntry(entry, "its CRC-32 does not match its data: the entry is damaged");
    }
    return out;
}

SkinPackage Reader::Run() {
    ReadEnd();
    // Everything is checked before anything is inflated.
    std::vector<Entry> entries;
    std::size_t at = FDirectory;
    for (std::size_t i = 0; i < FCount; ++i) {
        entries.push_back(ReadCentral(at, FDirectoryEnd));
        Entry& entry = entries.back();
        if (entry.Parts.Skin != entries.front().Parts.Skin) {
            FailEntry(entry, "it lies in the folder " + Shown(entry.Parts.Skin) + ", not " +
                                 Shown(entries.front().Parts.Skin) + ": a package holds one skin");
        }
        if (const auto clash = FNames.Add(entry.Parts)) {
            FailEntry(entry, *clash);
        }
    }
    if (at != FDirectoryEnd) {
        Fail("its central directory is damaged: it holds more than its entries");
    }
    for (Entry& entry : entries) {
        CheckLocal(entry);
    }
    CheckLayout(entries);
    const bool hasXml = std::any_of(entries.begin(), entries.end(),
                                    [](const Entry& e) { return e.Parts.Path == "skin.xml"; });
    if (!hasXml) {
        Fail("it holds no skin.xml in the skin's folder " + Shown(entries.front().Parts.Skin));
    }
    SkinPackage package;
    package.Name = entries.front().Parts.Skin;
    package.Folders = FNames.Folders();
    for (const Entry& entry : entries) {
        if (!entry.Parts.Folder) {
            package.Files.push_back({entry.Parts.Path, Inflate(entry)});
        }
    }
    return package;
}

} // namespace

SkinPackage ReadSkinPackage(std::span<const std::uint8_t> package, std::string_view shownName) {
    return Reader(package, shownName).Run();
}

SkinPackage ReadSkinPackageFile(FileSystem& files, std::string_view path,
                                std::string_view shownName) {
    const std::string bytes = [&] {
        try {
            if (std::optional<std::string> read = files.ReadAtMost(path, kMaxSkinPackageBytes)) {
                return std::move(*read);
            }
        } catch (const FileTooLarge&) {
            Refuse(shownName, "the file holds more than " + std::to_string(kMaxSkinPackageBytes) +
                                  " bytes, more than any skin needs");
        } catch (const FileError& e) {
            Refuse(shownName, e.what());
        }
        Refuse(shownName, "the file is missing");
    }();
    return ReadSkinPackage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                           shownName);
}

} // namespace norvale
