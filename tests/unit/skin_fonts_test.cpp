#include "core/skin/skin_fonts.h"
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

TEST(SkinFonts, AddsTheFontFilesOfTheFontsFolderInNameOrder) {
    const TempFolder skin;
    skin.Write("fonts/b.TTF", kTrueType);
    skin.Write("fonts/C.Ttf", kTrueType);
    skin.Write("fonts/a.otf", kOpenType);
    // Font data under other names, or outside the fonts folder, is left alone.
    skin.Write("fonts/readme.txt", kTrueType);
    skin.Write("fonts/old.ttf.bak", kTrueType);
    skin.Write("fonts/ttf", kTrueType);
    skin.Write("fonts/nested.ttf/inner.ttf", kTrueType);
    skin.Write("beside.ttf", kTrueType);
    FakeTextRasterizer text;
    EXPECT_EQ(LoadSkinFonts(skin.Path(), text), 3);
    const path fonts = skin.Path() / "fonts";
    EXPECT_EQ(text.PrivateFonts,
              (std::vector<path>{fonts / "C.Ttf", fonts / "a.otf", fonts / "b.TTF"}));
}

TEST(SkinFonts, AFileThatWillNotLoadIsPassedOverAndNotCounted) {
    const TempFolder skin;
    skin.Write("fonts/a-broken.ttf", "not a font");
    skin.Write("fonts/b-empty.otf", "");
    skin.Write("fonts/c-good.otf", kOpenType);
    FakeTextRasterizer text;
    EXPECT_EQ(LoadSkinFonts(skin.Path(), text), 1);
    EXPECT_EQ(text.PrivateFonts, std::vector<path>{skin.Path() / "fonts" / "c-good.otf"});
}

TEST(SkinFonts, ASkinWithoutAFontsFolderAddsNothing) {
    const TempFolder skin;
    FakeTextRasterizer text;
    EXPECT_EQ(LoadSkinFonts(skin.Path(), text), 0);
    EXPECT_EQ(LoadSkinFonts(skin.Path() / "absent", text), 0);
    skin.Write("fonts", kTrueType); // a file where the folder should be
    EXPECT_EQ(LoadSkinFonts(skin.Path(), text), 0);
    EXPECT_TRUE(text.PrivateFonts.empty());
}

} // namespace
} // namespace norvale
