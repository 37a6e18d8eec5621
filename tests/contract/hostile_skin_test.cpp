// Skins built to hurt: each names a file outside its folder, asks for too much, or breaks a
// rule of the format. Every one must give one clear fault, leave the previous skin in place
// and open nothing outside the program folder (the fake file system records every open).
#include "contract/xml_document_contract.h"
#include "core/skin/skin_limits.h"
#include "core/skin/skin_loader.h"
#include "support/fake_file_system.h"
#include "support/fake_text_rasterizer.h"
#include "support/png_builder.h"
#include "support/test_skin.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale::testing {
namespace {

constexpr char kSkin[] = "/clock/face/evil/";

// A PNG of w x h transparent pixels; its IDAT compresses the rows, so a large image is a small
// file.
std::string Png(std::uint32_t width, std::uint32_t height) {
    const std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4, 0);
    const auto bytes = PngBuilder()
                           .Header(width, height, 8, 6)
                           .ImageData(RepeatRows(row, static_cast<int>(height)))
                           .End()
                           .Bytes();
    return std::string(bytes.begin(), bytes.end());
}

// Only the header of a PNG: enough to declare any size.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    const auto bytes = PngBuilder().Header(width, height, 8, 6).Bytes();
    return std::string(bytes.begin(), bytes.end());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct Hostile {
    const char* Name;
    // Changes the good skin into the hostile one.
    void (*Make)(FakeFileSystem& files);
    // A part of the fault the load must report.
    std::string Fault;
    // How many faults the skin has.
    int Faults = 1;
};

void SetXml(FakeFileSystem& files, const std::string& from, const std::string& to) {
    const std::string path = std::string(kSkin) + "skin.xml";
    files.Put(path, Replaced(files.Files[path].Contents, from, to));
}

void FaceNamed(FakeFileSystem& files, const std::string& name) {
    SetXml(files, ">face.png<", ">" + name + "<");
}

const std::string kOutside = "lies outside the skin folder";

const Hostile kHostile[] = {
    {"ParentFolders", [](FakeFileSystem& f) { FaceNamed(f, "../../../../etc/hostname"); },
     "face\\evil\\../../../../etc/hostname: the file " + kOutside},
    {"ParentInside", [](FakeFileSystem& f) { FaceNamed(f, "art\\..\\..\\norvale\\face.png"); },
     kOutside},
    {"AbsolutePath", [](FakeFileSystem& f) { FaceNamed(f, "/etc/hostname"); }, kOutside},
    {"DriveLetter", [](FakeFileSystem& f) { FaceNamed(f, "C:\\Windows\\win.ini"); }, kOutside},
    {"DriveRelative", [](FakeFileSystem& f) { FaceNamed(f, "C:face.png"); }, kOutside},
    {"Unc", [](FakeFileSystem& f) { FaceNamed(f, "\\\\host\\share\\face.png"); }, kOutside},
    {"Device", [](FakeFileSystem& f) { FaceNamed(f, "\\\\.\\PhysicalDrive0"); }, kOutside},
    {"LongPath", [](FakeFileSystem& f) { FaceNamed(f, "\\\\?\\C:\\face.png"); }, kOutside},
    // A name refused for another reason than where it leads says which rule it breaks.
    {"ReservedName", [](FakeFileSystem& f) { FaceNamed(f, "art/NUL.png"); },
     "art/NUL.png: the name \"NUL.png\" is reserved for a device"},
    {"ReservedPort", [](FakeFileSystem& f) { FaceNamed(f, "com1"); },
     "\"com1\" is reserved for a device"},
    {"ReservedConsole", [](FakeFileSystem& f) { FaceNamed(f, "CONOUT$"); },
     "\"CONOUT$\" is reserved for a device"},
    {"TrailingDot", [](FakeFileSystem& f) { FaceNamed(f, "face.png."); },
     "face.png.: the name \"face.png.\" ends in a dot or a space"},
    {"DataStream", [](FakeFileSystem& f) { FaceNamed(f, "face.png:hidden"); },
     "face.png:hidden: the name holds a \":\""},
    {"ControlCharacter", [](FakeFileSystem& f) { FaceNamed(f, "fa&#9;ce.png"); },
     "face\\evil\\fa\\x09ce.png: the name holds a control character"},
    {"ParentStaysInside", [](FakeFileSystem& f) { FaceNamed(f, "hands/../face.png"); },
     "the name goes up a folder with \"..\""},
    {"EmptyFileName", [](FakeFileSystem& f) { FaceNamed(f, " "); },
     "skin.xml: empty element skin/clockface"},
    {"EmptyElement", [](FakeFileSystem& f) { SetXml(f, "<glass>glass.png</glass>", "<glass/>"); },
     "skin.xml: empty element skin/glass"},
    {"NamedPipe", [](FakeFileSystem& f) { f.Specials.push_back(std::string(kSkin) + "glass.png"); },
     "face\\evil\\glass.png: it is not a regular file"},
    {"LinkLoop",
     [](FakeFileSystem& f) {
         f.Links[std::string(kSkin) + "second.png"] = std::string(kSkin) + "loop";
         f.Links[std::string(kSkin) + "loop"] = std::string(kSkin) + "second.png";
     },
     "face\\evil\\second.png: its links lead round in a loop"},
    {"FontsFolderLinkOut",
     [](FakeFileSystem& f) { f.Links[std::string(kSkin) + "fonts"] = "/secret"; },
     "face\\evil\\fonts: the folder lies outside the skin folder"},
    {"LinkOut",
     [](FakeFileSystem& f) { f.Links[std::string(kSkin) + "second.png"] = "/secret/hand.png"; },
     "face\\evil\\second.png: the file " + kOutside},
    {"FolderLinkOut",
     [](FakeFileSystem& f) {
         SetXml(f, ">face.png<", ">art/face.png<");
         f.Links[std::string(kSkin) + "art"] = "/secret";
     },
     kOutside},
    {"FontLinkOut",
     [](FakeFileSystem& f) {
         f.Put(std::string(kSkin) + "fonts/a.ttf", "OTTO");
         f.Links[std::string(kSkin) + "fonts/a.ttf"] = "/secret/a.ttf";
     },
     "fonts/a.ttf: the file " + kOutside},
    {"ChimeOut",
     [](FakeFileSystem& f) { SetXml(f, "sound\\chime.mp3", "..\\..\\secret\\chime.mp3"); },
     "the chime ..\\..\\secret\\chime.mp3: the file lies outside the program folder"},
    {"HugeDeclaredFace",
     [](FakeFileSystem& f) {
         SetXml(f, "width=\"600\" height=\"400\"", "width=\"200000\" height=\"200000\"");
     },
     "attribute width of skin/clockface is 200000, outside 0 to 1024", 2},
    {"HugeFaceImage",
     [](FakeFileSystem& f) { f.Put(std::string(kSkin) + "face.png", PngHeader(200000, 200000)); },
     "face.png: the image is 200000 x 200000 pixels; no side may pass 1024"},
    {"PngBomb",
     [](FakeFileSystem& f) { f.Put(std::string(kSkin) + "glass.png", Png(kMaxSkinSide + 1, 64)); },
     "glass.png: the image is 1025 x 64 pixels"},
    {"LargeVariant",
     [](FakeFileSystem& f) {
         f.Put(std::string(kSkin) + "ampm@2x.png", PngHeader(2 * kMaxSkinSide + 2, 2));
     },
     "ampm@2x.png: the image is 2050 x 2 pixels; no side may pass 2048"},
    {"HugeFontSize", [](FakeFileSystem& f) { SetXml(f, "size=\"9\"", "size=\"100000\""); },
     "attribute size of skin/label[@id=\"time\"]/font is 100000, outside 1 to 400"},
    {"LabelNearIntMax", [](FakeFileSystem& f) { SetXml(f, "x=\"131\"", "x=\"2147483647\""); },
     "is 2147483647, outside -16384 to 16384"},
    {"ButtonWidthNegative", [](FakeFileSystem& f) { SetXml(f, "width=\"21\"", "width=\"-5\""); },
     "attribute width of skin/button[@id=\"right\"] is -5, outside 0 to 16384"},
    {"HugeReal", [](FakeFileSystem& f) { SetXml(f, "x=\"70\"", "x=\"1e300\""); },
     "attribute x of skin/seconds/position lies outside -16384 to 16384"},
    {"PaddedImage",
     [](FakeFileSystem& f) {
         f.Put(std::string(kSkin) + "ampm.png", Png(24, 10) + std::string(2 << 20, '\0'));
     },
     "more than its 24 x 10 pixels can need"},
    {"AllFilesTogether",
     [](FakeFileSystem& f) {
         for (const char* font : {"fonts/a.ttf", "fonts/b.ttf", "fonts/c.ttf"}) {
             f.Put(std::string(kSkin) + font, "OTTO" + std::string(30 << 20, '\0'));
         }
     },
     "fonts/c.ttf: the skin folder's files hold more than 67108864 bytes together"},
    {"FontCollection",
     [](FakeFileSystem& f) {
         f.Put(std::string(kSkin) + "fonts/many.ttf", std::string("ttcf\0\1\0\0\0\0\x13\x88", 12));
     },
     "fonts/many.ttf: the skin's fonts hold more than 16 faces together (this file holds 5000)"},
    {"FontsFolderEntries",
     [](FakeFileSystem& f) {
         for (std::size_t i = 0; i <= kMaxSkinFolderEntries; ++i) {
             f.Put(std::string(kSkin) + "fonts/licence" + std::to_string(i) + ".txt", "");
         }
     },
     "face\\evil\\fonts: the folder holds too many entries"},
    {"LongLabelText",
     [](FakeFileSystem& f) {
         SetXml(f, "text=\"88:88:88\"", "text=\"" + std::string(65, '8') + "\"");
     },
     "attribute text of skin/label[@id=\"timebg\"] is longer than 64 characters"},
    {"LabelBoxPastTheLimit",
     [](FakeFileSystem& f) {
         SetXml(f, "x=\"79\" y=\"123\" align=\"right\"><font name=\"\" size=\"7\"",
                "x=\"16384\" y=\"123\" width=\"16384\" align=\"right\"><font name=\"\" size=\"8\"");
     },
     "the label \"date\" is 20 x 10 pixels at 32748,123 with its text, outside the limits"},
    {"ControlCharactersInAValue",
     [](FakeFileSystem& f) { SetXml(f, "color=\"clBlack\"", "color=\"&#155;2J&#9;x\""); },
     "\"\\x9B2J\\x09x\" is not a colour"},
    {"HugeSkinXml",
     [](FakeFileSystem& f) { SetXml(f, "<skin>", "<skin>" + std::string(kMaxSkinXmlBytes, ' ')); },
     "face\\evil\\skin.xml: the file is larger than 1048576 bytes"},
    {"Doctype",
     [](FakeFileSystem& f) { SetXml(f, "<skin>", "<!DOCTYPE skin [<!ENTITY a \"b\">]><skin>"); },
     "face\\evil\\skin.xml: "},
};

class HostileSkinTest : public ::testing::TestWithParam<std::tuple<XmlAdapter, Hostile>> {
protected:
    HostileSkinTest() {
        text.CharWidth = 5;
        text.LineHeight = 10;
        text.Files = &files;
        const std::string skin = kSkin;
        files.Put(skin + "skin.xml", kTestSkinXml);
        files.Put(skin + "face.png", Png(150, 140));
        files.Put(skin + "buttons.png", Png(60, 10));
        files.Put(skin + "glass.png", Png(150, 140));
        files.Put(skin + "dglass.png", Png(150, 140));
        files.Put(skin + "ampm.png", Png(24, 10));
        for (const char* hand : {"hands/hour.png", "hands/minute.png", "second.png"}) {
            files.Put(skin + hand, Png(8, 52));
        }
        files.Put("/clock/sound/chime.mp3", "ID3");
        files.Put("/clock/face/norvale/face.png", Png(4, 4));
        files.Put("/etc/hostname", "host");
        files.Put("/secret/hand.png", Png(8, 52));
        files.Put("/secret/face.png", Png(150, 140));
        files.Put("/secret/a.ttf", "OTTO");
        files.Put("/secret/chime.mp3", "ID3");
    }

    std::unique_ptr<TSkin> Load() {
        return LoadSkin("evil", {"/clock", files, *xml, settings, text}, labels, buttons);
    }

    FakeFileSystem files;
    FakeTextRasterizer text;
    FormatSettings settings = FormatSettings::EnglishUnitedStates();
    std::unique_ptr<XmlDocument> xml = std::get<0>(GetParam()).Make();
    TCursorKind cursor = TCursorKind::Default;
    std::array<TWindowLabel, kLabelCount> labels = InitialLabels(text);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
};

TEST_P(HostileSkinTest, GivesOneFaultKeepsThePreviousSkinAndOpensNothingOutside) {
    ASSERT_NE(Load(), nullptr) << "the good skin must load";
    const int timeLeft = labels[lTime].Left;
    const int buttonWidth = buttons[1].Width;
    const Hostile& hostile = std::get<1>(GetParam());
    hostile.Make(files);
    files.Opened.clear();
    try {
        Load();
        FAIL() << "the hostile skin loaded";
    } catch (const SkinError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("The skin \"evil\" cannot be loaded.\n", 0), 0u) << message;
        EXPECT_NE(message.find(hostile.Fault), std::string::npos) << message;
        // One line for each fault after the heading.
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), hostile.Faults) << message;
    }
    EXPECT_EQ(labels[lTime].Left, timeLeft);
    EXPECT_EQ(buttons[1].Width, buttonWidth);
    EXPECT_TRUE(text.PrivateFonts.empty());
    for (std::string path : files.Opened) {
        std::replace(path.begin(), path.end(), '\\', '/');
        EXPECT_TRUE(path == "/clock" || path.starts_with("/clock/")) << path;
        EXPECT_EQ(path.find(".."), std::string::npos) << path;
        EXPECT_EQ(path.find("etc"), std::string::npos) << path;
    }
}

// Each image and each variant within its own limit, but together more than a skin may hold
// at 300 %: the load stops before it decodes the image that would pass the limit. Run once per
// reader only (its hostile case is not used).
class SkinPixelLimitTest : public HostileSkinTest {};

TEST_P(SkinPixelLimitTest, ImagesJustUnderTheirLimitCannotTogetherPassTheSkinsLimit) {
    // The face counts 46 times, the glasses 10 times, the AM/PM image once: 22,949,109 in all.
    const std::string large = Png(kMaxSkinSide - 1, kMaxSkinSide - 1);
    for (const char* name : {"glass", "dglass", "ampm"}) {
        files.Put(std::string(kSkin) + name + ".png", large);
    }
    // Another 4,186,116 pixels pass 25,165,824.
    files.Put(std::string(kSkin) + "ampm@2x.png",
              Png(2 * (kMaxSkinSide - 1), 2 * (kMaxSkinSide - 1)));
    try {
        Load();
        FAIL() << "the skin loaded";
    } catch (const SkinError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("face\\evil\\ampm@2x.png: the skin's images need more than " +
                               std::to_string(kMaxSkinPixels) + " pixels together at 300 %"),
                  std::string::npos)
            << message;
    }
    files.Files.erase(std::string(kSkin) + "ampm@2x.png");
    EXPECT_EQ(Load()->Glass.Width(), kMaxSkinSide - 1);
}

// After a frame of a skin failed: the default skin, and when the default skin's frames fail, or
// it will not load, the placeholder with the labels as before any skin.
TEST_P(SkinPixelLimitTest, ABrokenFrameFallsBackToTheDefaultSkinThenToThePlaceholder) {
    for (const char* name : {"skin.xml", "face.png", "buttons.png", "glass.png", "dglass.png",
                             "ampm.png", "hands/hour.png", "hands/minute.png", "second.png"}) {
        files.Put(std::string("/clock/face/norvale/") + name,
                  files.Files[std::string(kSkin) + name].Contents);
    }
    const SkinLoadContext context{"/clock", files, *xml, settings, text};
    std::string name = "evil";
    std::string message = "broken";
    auto skin = FallbackSkin(name, context, labels, buttons, message);
    EXPECT_EQ(name, "norvale");
    EXPECT_EQ(skin->Width(), 150);
    EXPECT_EQ(skin->Height(), 140);
    EXPECT_EQ(message, "broken");
    EXPECT_EQ(labels[lTime].Left, 57);

    skin = FallbackSkin(name, context, labels, buttons, message);
    EXPECT_EQ(name, "norvale");
    EXPECT_FALSE(skin->Sources); // the placeholder
    EXPECT_EQ(labels[lTime].Font().Size, InitialLabels(text)[lTime].Font().Size);
    EXPECT_EQ(labels[lAmPm].Left, InitialLabels(text)[lAmPm].Left);

    files.Files.erase("/clock/face/norvale/skin.xml");
    name = "evil";
    skin = FallbackSkin(name, context, labels, buttons, message);
    EXPECT_FALSE(skin->Sources);
    EXPECT_EQ(message, "broken\n\nThe skin \"norvale\" cannot be loaded.\n"
                       "face\\norvale\\skin.xml: the file is missing");
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<XmlAdapter, Hostile>>& info) {
    return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
}

INSTANTIATE_TEST_SUITE_P(Table, HostileSkinTest,
                         ::testing::Combine(::testing::ValuesIn(XmlAdapters()),
                                            ::testing::ValuesIn(kHostile)),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Readers, SkinPixelLimitTest,
                         ::testing::Combine(::testing::ValuesIn(XmlAdapters()),
                                            ::testing::Values(kHostile[0])),
                         CaseName);

} // namespace
} // namespace norvale::testing
