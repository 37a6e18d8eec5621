// Skin packages: what the reader takes from a package made by the writer, and a table of
// packages built to hurt, each refused with its reason before anything is inflated or while it
// is.
#include "core/skin/skin_package.h"
#include "support/test_skin_package.h"

#include <functional>
#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::TestSkinFiles;
using testing::TestSkinPackage;

std::uint32_t Get(const std::string& zip, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(zip[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

void Set(std::string& zip, std::size_t at, int bytes, std::uint32_t value) {
    for (int i = 0; i < bytes; ++i, value >>= 8) {
        zip[at + static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    }
}

std::size_t EndRecord(const std::string& zip) {
    return zip.size() - 22;
}

// Where the central directory describes the entry.
std::size_t Central(const std::string& zip, std::string_view name) {
    for (std::size_t at = Get(zip, EndRecord(zip) + 16, 4); at < EndRecord(zip);) {
        const std::size_t length = Get(zip, at + 28, 2);
        if (zip.compare(at + 46, length, name) == 0) {
            return at;
        }
        at += 46 + length + Get(zip, at + 30, 2) + Get(zip, at + 32, 2);
    }
    ADD_FAILURE() << "no entry " << name;
    return 0;
}

// Changes a field of the entry's central header (at its offset there) and, where
// bothHeaders, the same field of its local header, which lies two bytes earlier there.
std::string Patched(std::string zip, std::string_view name, std::size_t field, int bytes,
                    const std::function<std::uint32_t(std::uint32_t)>& change,
                    bool bothHeaders = true) {
    const std::size_t central = Central(zip, name);
    Set(zip, central + field, bytes, change(Get(zip, central + field, bytes)));
    if (bothHeaders) {
        const std::size_t local = Get(zip, central + 42, 4) + field - 2;
        Set(zip, local, bytes, change(Get(zip, local, bytes)));
    }
    return zip;
}

// The entry as a Unix zip program describes a file of that mode.
std::string WithUnixMode(const std::string& zip, std::string_view name, std::uint32_t mode) {
    std::string patched = zip;
    const std::size_t central = Central(zip, name);
    Set(patched, central + 4, 2, 0x0314); // made on Unix
    Set(patched, central + 38, 4, mode << 16);
    return patched;
}

std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries) {
    ZipWriter zip;
    for (const auto& [name, bytes] : entries) {
        zip.Add(name, bytes);
    }
    return zip.Finish();
}

SkinPackage Read(const std::string& zip) {
    return ReadSkinPackage({reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size()},
                           "x.nvskin");
}

constexpr std::size_t kFlags = 8, kMethod = 10, kCrc = 16, kSize = 24, kAttributes = 38;
const std::string kXml = "test/skin.xml";
const std::string kFace = "test/face.png";

TEST(SkinPackage, AWrittenPackageReadsBackAsTheSkinsFiles) {
    const SkinPackage package = Read(TestSkinPackage());
    EXPECT_EQ(package.Name, "test");
    EXPECT_EQ(package.Folders, (std::vector<std::string>{"hands", "fonts"}));
    const auto files = TestSkinFiles();
    ASSERT_EQ(package.Files.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(package.Files[i].Path, files[i].first);
        EXPECT_EQ(package.Files[i].Bytes, files[i].second) << files[i].first;
    }
    // The same files make the same bytes.
    EXPECT_EQ(TestSkinPackage(), TestSkinPackage());
}

struct Hostile {
    const char* What;
    std::function<std::string()> Make;
    const char* Says;
};

TEST(SkinPackage, PackagesBuiltToHurtAreRefusedWithTheirReason) {
    const std::string xml = "<skin/>";
    const std::string good = TestSkinPackage();
    const auto withXml = [&](const std::string& name, const std::string& bytes) {
        return Zip({{kXml, xml}, {name, bytes}});
    };
    const Hostile cases[] = {
        {"a name above the folder", [&] { return withXml("../evil.png", "x"); },
         "entry \"../evil.png\": the file lies outside the skin's folder"},
        {"a drive", [&] { return withXml("C:/evil.png", "x"); }, "lies outside"},
        {"a file beside the folder", [&] { return withXml("evil.png", "x"); },
         "lies outside the skin's folder: a package holds one folder"},
        {"a second folder", [&] { return withXml("other/face.png", "x"); },
         "a package holds one skin"},
        {"a \"..\" inside", [&] { return withXml("test/a/../face.png", "x"); }, "goes up a folder"},
        {"a backslash", [&] { return withXml("test\\face.png", "x"); }, "holds a \"\\\""},
        {"a device name", [&] { return withXml("test/nul.png", "x"); }, "reserved for a device"},
        {"a link", [&] { return WithUnixMode(good, kFace, 0120777); },
         "entry \"test/face.png\": it is a link"},
        {"a junction",
         [&] {
             return Patched(
                 good, kFace, kAttributes, 4, [](auto) { return 0x400; }, false);
         },
         "it is a link"},
        {"a device", [&] { return WithUnixMode(good, kFace, 0020644); }, "not a regular file"},
        {"a folder named like a file",
         [&] {
             return Patched(
                 good, kFace, kAttributes, 4, [](auto) { return 0x10; }, false);
         },
         "it is a folder but its name does not end in \"/\""},
        {"a bomb", [&] { return withXml(kFace, std::string(8 << 20, '\0')); },
         "would inflate from"},
        {"too many entries",
         [&] {
             std::vector<std::pair<std::string, std::string>> entries{{kXml, xml}};
             for (int i = 0; i < 128; ++i) {
                 entries.emplace_back("test/" + std::to_string(i) + ".txt", "");
             }
             return Zip(entries);
         },
         "it holds 129 entries, more than 128"},
        {"more bytes than a skin may hold",
         [&] {
             // Declared only: both stored entries claim 40 MiB, so nothing is inflated.
             std::string zip = Zip({{kXml, xml}, {kFace, "a"}, {"test/glass.png", "b"}});
             for (const char* name : {kFace.c_str(), "test/glass.png"}) {
                 zip = Patched(zip, name, kSize, 4, [](auto) { return 40u << 20; });
                 zip = Patched(zip, name, kSize - 4, 4, [](auto) { return 40u << 20; });
             }
             return zip;
         },
         "entry \"test/glass.png\": the skin's files hold more than 67108864 bytes together"},
        {"a skin.xml too large",
         [&] {
             return Zip({{kXml, std::string(1 << 20 | 1, ' ')}});
         },
         "the file holds 1048577 bytes, more than 1048576"},
        {"a program", [&] { return withXml("test/setup.exe", "MZ"); },
         "no skin uses a file of this kind"},
        {"a font outside fonts", [&] { return withXml("test/f.ttf", "font"); },
         "no skin uses a file of this kind"},
        {"an encrypted entry",
         [&] { return Patched(good, kFace, kFlags, 2, [](auto f) { return f | 1; }); },
         "entry \"test/face.png\": it is encrypted"},
        {"a data descriptor",
         [&] { return Patched(good, kFace, kFlags, 2, [](auto f) { return f | 8; }); },
         "a data descriptor"},
        {"another method",
         [&] { return Patched(good, kFace, kMethod, 2, [](auto) { return 12; }); },
         "compressed with method 12"},
        {"a central directory that starts elsewhere",
         [&] {
             std::string zip = good;
             Set(zip, EndRecord(zip) + 16, 4, Get(zip, EndRecord(zip) + 16, 4) + 1);
             return zip;
         },
         "its central directory is damaged"},
        {"a central directory with a broken entry",
         [&] {
             std::string zip = good;
             zip[Central(zip, kFace)] = 'X';
             return zip;
         },
         "its central directory is damaged at byte"},
        {"a CRC mismatch",
         [&] { return Patched(good, kFace, kCrc, 4, [](auto crc) { return crc ^ 1; }); },
         "its CRC-32 does not match its data"},
        {"a size that is too small",
         [&] { return Patched(good, kXml, kSize, 4, [](auto size) { return size - 1; }); },
         "it inflates to more than the"},
        {"a size that is too large",
         [&] { return Patched(good, kXml, kSize, 4, [](auto size) { return size + 1; }); },
         "bytes, not the"},
        {"headers that disagree",
         [&] {
             return Patched(
                 good, kFace, kCrc, 4, [](auto crc) { return crc ^ 1; }, false);
         },
         "its local header disagrees with the central directory"},
        {"ZIP64",
         [&] {
             std::string zip = good;
             Set(zip, EndRecord(zip) + 8, 2, 0xFFFF);
             Set(zip, EndRecord(zip) + 10, 2, 0xFFFF);
             return zip;
         },
         "it uses ZIP64"},
        {"several disks",
         [&] {
             std::string zip = good;
             Set(zip, EndRecord(zip) + 4, 2, 1);
             return zip;
         },
         "it spans several disks"},
        {"a comment", [&] { return good.substr(0, good.size() - 2) + std::string("\5\0hello", 7); },
         "it is not a zip file, or it ends in a comment"},
        {"bytes between the entries and the directory",
         [&] {
             std::string zip = good;
             const std::size_t directory = Get(zip, EndRecord(zip) + 16, 4);
             zip.insert(directory, "hidden");
             Set(zip, EndRecord(zip) + 16, 4, static_cast<std::uint32_t>(directory + 6));
             return zip;
         },
         "bytes that belong to no entry lie before its central directory"},
        {"two names for one file",
         [&] {
             return Zip({{kXml, xml}, {kFace, "a"}, {"test/Face.png", "b"}});
         },
         "another entry has this name"},
        {"a file where a folder is",
         [&] {
             return Zip({{kXml, xml}, {"test/fonts.txt", "a"}, {"test/fonts.TXT/a.png", "b"}});
         },
         "has the name of a file"},
        {"a name that is not UTF-8", [&] { return withXml("test/\xFF.png", "x"); }, "not UTF-8"},
        {"a name not marked UTF-8",
         [&] {
             return Patched(withXml("test/\xC3\xA9.png", "x"), "test/\xC3\xA9.png", kFlags, 2,
                            [](auto f) { return f & ~0x800u; });
         },
         "not ASCII and not marked as UTF-8"},
        {"no skin.xml",
         [&] {
             return Zip({{kFace, "x"}});
         },
         "it holds no skin.xml"},
        {"no zip at all", [] { return std::string("hello"); }, "it is not a zip file"},
        {"no entries", [] { return std::string("PK\5\6") + std::string(18, '\0'); },
         "it holds no entries"},
    };
    for (const Hostile& hostile : cases) {
        try {
            Read(hostile.Make());
            ADD_FAILURE() << hostile.What << ": accepted";
        } catch (const SkinPackageError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("The skin package \"x.nvskin\" cannot be read.\n", 0), 0u)
                << hostile.What << ": " << message;
            EXPECT_NE(message.find(hostile.Says), std::string::npos)
                << hostile.What << ": " << message;
        }
    }
}

} // namespace
} // namespace norvale
