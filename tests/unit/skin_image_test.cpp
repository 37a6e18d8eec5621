#include "core/raster/skin_image.h"
#include "support/png_builder.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace norvale {
namespace {

PngImage OnePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a,
                  int colourType = 6) {
    return {1, 1, colourType, {r, g, b, a}};
}

Pixel32 Loaded(const PngImage& png, std::uint32_t fill) {
    return SkinBitmapFromPng(png, fill).At(0, 0);
}

TEST(SkinImage, AnOpaquePixelKeepsItsColourUnderAnyFill) {
    for (std::uint32_t fill : {0x000000u, 0x808080u, 0xFFFFFFu, 0x123456u}) {
        EXPECT_EQ(Loaded(OnePixel(200, 100, 1, 255), fill), MakePixel(1, 100, 200, 255));
        EXPECT_EQ(Loaded(OnePixel(0, 255, 128, 255), fill), MakePixel(128, 255, 0, 255));
    }
}

TEST(SkinImage, HalfTransparentWhiteDependsOnTheFill) {
    EXPECT_EQ(Loaded(OnePixel(255, 255, 255, 128), 0xFFFFFF), MakePixel(128, 128, 128, 128));
    EXPECT_EQ(Loaded(OnePixel(255, 255, 255, 128), 0x000000), MakePixel(64, 64, 64, 128));
    // Black at alpha 128 over a red fill: red (255 * 127 + 255) >> 8 = 127, then 127 * 128 / 255.
    EXPECT_EQ(Loaded(OnePixel(0, 0, 0, 128), 0x0000FF), MakePixel(0, 0, 63, 128));
    EXPECT_EQ(Loaded(OnePixel(90, 80, 70, 0), 0xFFFFFF), 0u);
}

TEST(SkinImage, ImagesWithoutAlphaChannelAreOpaqueOrKeyed) {
    EXPECT_EQ(Loaded(OnePixel(10, 20, 30, 255, 2), 0xFFFFFF), MakePixel(30, 20, 10, 255));
    EXPECT_EQ(Loaded(OnePixel(10, 10, 10, 0, 0), 0xFFFFFF), 0u); // the tRNS grey
}

class LoadSkinImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = Temp.Path();
        std::filesystem::create_directories(Folder / "face" / "plain");
    }

    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(Folder / "face" / "plain" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    testing::TempFolder Temp;
    std::filesystem::path Folder;
};

TEST_F(LoadSkinImageTest, ReadsAFileBelowTheProgramFolder) {
    testing::PngBuilder png;
    png.Header(2, 1, 8, 4).ImageData({0, 255, 255, 255, 128}).End();
    Write("hand.png", png.Bytes());
    const Bitmap32 target = ReadSkinImageFiles("face\\plain\\hand.png", 0x000000, Folder).Base;
    ASSERT_EQ(target.Width(), 2);
    ASSERT_EQ(target.Height(), 1);
    EXPECT_EQ(target.At(0, 0), MakePixel(255, 255, 255, 255));
    EXPECT_EQ(target.At(1, 0), MakePixel(64, 64, 64, 128));
}

TEST_F(LoadSkinImageTest, NamesTheFileInItsErrors) {
    Write("broken.png", {'n', 'o', 't'});
    try {
        ReadSkinImageFiles("face\\plain\\broken.png", 0, Folder);
        FAIL() << "a broken file loaded";
    } catch (const PngError& e) {
        EXPECT_NE(std::string(e.what()).find("broken.png: not a PNG file"), std::string::npos)
            << e.what();
    }
    try {
        ReadSkinImageFiles("face\\plain\\missing.png", 0, Folder);
        FAIL() << "a missing file loaded";
    } catch (const PngError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.png: cannot open the file"),
                  std::string::npos)
            << e.what();
    }
}

} // namespace
} // namespace norvale
