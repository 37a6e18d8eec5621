#include "contract/platform_file_system.h"
#include "core/skin/skin_fonts.h"
#include "core/skin/skin_limits.h"
#include "support/fake_text_rasterizer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale {
namespace {

using std::filesystem::path;
using testing::FakeTextRasterizer;
using testing::TempFolder;

const std::string kTrueType("\0\1\0\0 glyphs", 11);
const std::string kOpenType = "OTTO glyphs";

class SkinFontsTest : public ::testing::Test {
protected:
    // The fonts of the skin, or the fault they give.
    std::string Load() {
        SkinFolder folder(*Files, Skin.Path(), "face\\x\\");
        try {
            Set = LoadSkinFonts(folder, Text);
            return "ok";
        } catch (const SkinFileError& e) {
            return e.what();
        }
    }

    path Final(const std::string& name) const {
        return std::filesystem::canonical(Skin.Path()) / "fonts" / name;
    }

    TempFolder Skin;
    std::unique_ptr<FileSystem> Files = testing::MakePlatformFileSystem();
    FakeTextRasterizer Text;
    SkinFontSet Set;
};

TEST_F(SkinFontsTest, AddsTheFontFilesOfTheFontsFolderInNameOrder) {
    Skin.Write("fonts/b.TTF", kTrueType);
    Skin.Write("fonts/C.Ttf", kTrueType);
    Skin.Write("fonts/a.otf", kOpenType);
    // Font data under other names, or outside the fonts folder, is left alone.
    Skin.Write("fonts/readme.txt", kTrueType);
    Skin.Write("fonts/old.ttf.bak", kTrueType);
    Skin.Write("fonts/ttf", kTrueType);
    Skin.Write("fonts/nested.ttf/inner.ttf", kTrueType);
    Skin.Write("beside.ttf", kTrueType);
    ASSERT_EQ(Load(), "ok");
    const std::vector<path> expected{Final("C.Ttf"), Final("a.otf"), Final("b.TTF")};
    EXPECT_EQ(Text.PrivateFonts, expected);
    EXPECT_EQ(Set.Files(), expected);
}

TEST_F(SkinFontsTest, AFileTheFontEngineRefusesIsAFaultAndTakesBackTheOthers) {
    Skin.Write("fonts/a-good.otf", kOpenType);
    Skin.Write("fonts/b-broken.ttf", "not a font");
    EXPECT_EQ(Load(), "face\\x\\fonts/b-broken.ttf: the font engine refuses the file");
    EXPECT_TRUE(Text.PrivateFonts.empty());
}

TEST_F(SkinFontsTest, TheFontsGoWithTheirSet) {
    Skin.Write("fonts/a.otf", kOpenType);
    ASSERT_EQ(Load(), "ok");
    ASSERT_EQ(Text.PrivateFonts.size(), 1u);
    Set = SkinFontSet();
    EXPECT_TRUE(Text.PrivateFonts.empty());
}

TEST_F(SkinFontsTest, TooManyOrTooLargeFontFilesAreFaults) {
    for (int i = 0; i <= kMaxSkinFonts; ++i) {
        Skin.Write("fonts/f" + std::to_string(100 + i) + ".ttf", kTrueType);
    }
    EXPECT_EQ(Load(), "face\\x\\fonts: more than " + std::to_string(kMaxSkinFonts) + " font files");
    std::filesystem::remove_all(Skin.Path() / "fonts");
    Skin.Write("fonts/huge.ttf", kTrueType);
    std::filesystem::resize_file(Skin.Path() / "fonts" / "huge.ttf", kMaxSkinFontBytes + 1);
    EXPECT_EQ(Load(), "face\\x\\fonts/huge.ttf: the file is larger than " +
                          std::to_string(kMaxSkinFontBytes) + " bytes");
    EXPECT_TRUE(Text.PrivateFonts.empty());
}

TEST_F(SkinFontsTest, ASkinWithoutAFontsFolderAddsNothing) {
    EXPECT_EQ(Load(), "ok");
    Skin.Write("fonts", kTrueType); // a file where the folder should be
    EXPECT_EQ(Load(), "ok");
    EXPECT_TRUE(Text.PrivateFonts.empty());
}

std::string BigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out += static_cast<char>(value >> shift & 0xFF);
    }
    return out;
}

// A font of one table at `at` in its file: 'fvar' with `instances` named instances, or another.
std::string Font(const char* tag, std::uint32_t instances, std::uint32_t at = 0) {
    const std::uint32_t table = at + 28;
    return BigEndian(0x00010000, 4) + BigEndian(1, 2) + std::string(6, '\0') + tag +
           BigEndian(0, 4) + BigEndian(table, 4) + BigEndian(16, 4) + BigEndian(1, 2) +
           BigEndian(0, 2) + BigEndian(16, 2) + BigEndian(2, 2) + BigEndian(1, 2) +
           BigEndian(20, 2) + BigEndian(instances, 2) + BigEndian(8, 2);
}

TEST(CountFontFaces, CountsEveryFontOfACollectionAndEveryNamedInstance) {
    EXPECT_EQ(CountFontFaces(Font("glyf", 9)), 1u);
    EXPECT_EQ(CountFontFaces(Font("fvar", 9)), 10u);
    EXPECT_EQ(CountFontFaces(kOpenType), 1u);
    EXPECT_EQ(CountFontFaces(""), 1u);
    // Two fonts after a header of 20 bytes, each 44 bytes long.
    const std::string collection = "ttcf" + BigEndian(0x00010000, 4) + BigEndian(2, 4) +
                                   BigEndian(20, 4) + BigEndian(64, 4) + Font("fvar", 3, 20) +
                                   Font("glyf", 7, 64);
    EXPECT_EQ(CountFontFaces(collection), 5u);
    // A count past the limit is the answer: no font of such a collection is looked at.
    EXPECT_EQ(CountFontFaces("ttcf" + BigEndian(0x00010000, 4) + BigEndian(70000, 4)), 70000u);
}

} // namespace
} // namespace norvale
