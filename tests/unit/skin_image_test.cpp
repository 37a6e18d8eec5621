#include "contract/platform_file_system.h"
#include "core/skin/skin_image.h"
#include "support/png_builder.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

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

    // The skin folder the images are read from: the program folder here.
    SkinFolder& Skin() {
        if (!FSkin) {
            FSkin.emplace(*Files, Folder, "");
        }
        return *FSkin;
    }

    testing::TempFolder Temp;
    std::filesystem::path Folder;
    std::unique_ptr<FileSystem> Files = testing::MakePlatformFileSystem();

private:
    std::optional<SkinFolder> FSkin;
};

TEST_F(LoadSkinImageTest, ReadsAFileBelowTheProgramFolder) {
    testing::PngBuilder png;
    png.Header(2, 1, 8, 4).ImageData({0, 255, 255, 255, 128}).End();
    Write("hand.png", png.Bytes());
    const Bitmap32 target = ReadSkinImageFiles("face\\plain\\hand.png", 0x000000, 0, Skin()).Base;
    ASSERT_EQ(target.Width(), 2);
    ASSERT_EQ(target.Height(), 1);
    EXPECT_EQ(target.At(0, 0), MakePixel(255, 255, 255, 255));
    EXPECT_EQ(target.At(1, 0), MakePixel(64, 64, 64, 128));
}

TEST_F(LoadSkinImageTest, NamesTheFileInItsErrors) {
    Write("broken.png", {'n', 'o', 't'});
    try {
        ReadSkinImageFiles("face\\plain\\broken.png", 0, 0, Skin());
        FAIL() << "a broken file loaded";
    } catch (const PngError& e) {
        EXPECT_NE(std::string(e.what()).find("broken.png: not a PNG file"), std::string::npos)
            << e.what();
    }
    try {
        ReadSkinImageFiles("face\\plain\\missing.png", 0, 0, Skin());
        FAIL() << "a missing file loaded";
    } catch (const SkinFileError& e) {
        EXPECT_NE(std::string(e.what()).find("face\\plain\\missing.png: the file is missing"),
                  std::string::npos)
            << e.what();
    }
}

TEST(SkinImageVariants, TheFactorGoesBeforeTheLastNamesExtension) {
    EXPECT_EQ(VariantPath("face.png", 2), "face@2x.png");
    EXPECT_EQ(VariantPath("hands\\hour.png", 3), "hands\\hour@3x.png");
    EXPECT_EQ(VariantPath("art.v2/face.PNG", 2), "art.v2/face@2x.PNG");
    EXPECT_EQ(VariantPath("art.v2/face", 2), "art.v2/face@2x");
}

// Opaque images of one colour: a w x h PNG of red r.
std::vector<std::uint8_t> SolidPng(int w, int h, std::uint8_t r) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < w; ++x) {
        row.insert(row.end(), {r, 0, 0, 255});
    }
    testing::PngBuilder png;
    png.Header(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 8, 6)
        .ImageData(testing::RepeatRows(row, h))
        .End();
    return png.Bytes();
}

class SkinImageVariantsTest : public LoadSkinImageTest {
protected:
    SkinImageFiles Read(bool decodeVariants = false) {
        return ReadSkinImageFiles("face\\plain\\face.png", 0, 0, Skin(), decodeVariants);
    }

    // The message of a read that must fail.
    std::string Failure() {
        try {
            Read();
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        ADD_FAILURE() << "the images were accepted";
        return {};
    }
};

TEST_F(SkinImageVariantsTest, TheSmallestVariantAtLeastAsLargeAsTheScaleIsTaken) {
    Write("face.png", SolidPng(4, 2, 10));
    Write("face@2x.png", SolidPng(8, 4, 20));
    SkinImageFiles files = Read();
    EXPECT_TRUE(files.HasVariant(2));
    EXPECT_FALSE(files.HasVariant(3));
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(96)), 1);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(120)), 2);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(192)), 2);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(288)), 2); // none larger: the largest
    Write("face@3x.png", SolidPng(12, 6, 30));
    files = Read();
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(193)), 3);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(480)), 3);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(144)), 2);
    EXPECT_EQ(files.Variant(2).Width(), 0); // not decoded before a scale draws from it
    EXPECT_EQ(PrepareVariant(files, DisplayScale(144)), 2);
    EXPECT_EQ(files.Variant(2).Width(), 8);
    EXPECT_EQ(files.Variant(2).At(0, 0), MakePixel(0, 0, 20, 255));
}

TEST_F(SkinImageVariantsTest, OnlyAThreeTimesVariantServesEveryScaleAbove100) {
    Write("face.png", SolidPng(4, 2, 10));
    Write("face@3x.png", SolidPng(12, 6, 30));
    const SkinImageFiles files = Read();
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(96)), 1);
    EXPECT_EQ(VariantFactorFor(files, DisplayScale(120)), 3);
}

TEST_F(SkinImageVariantsTest, AVariantOfTheWrongSizeOrBrokenIsAFaultNamingIt) {
    Write("face.png", SolidPng(4, 2, 10));
    Write("face@2x.png", SolidPng(8, 5, 20));
    const std::string wrongSize = Failure();
    EXPECT_NE(wrongSize.find("face@2x.png: the image is 8 x 5 pixels, not 8 x 4"),
              std::string::npos)
        << wrongSize;
    Write("face@2x.png", SolidPng(8, 4, 20));
    Write("face@3x.png", {'n', 'o'});
    const std::string broken = Failure();
    EXPECT_NE(broken.find("face@3x.png: not a PNG file"), std::string::npos) << broken;
}

// Whole chunks with their CRCs around compressed data that does not inflate: only decoding
// finds it, so the clock's load keeps the file and draws from the other sizes when a scale
// would use it, while a checking load refuses it.
TEST_F(SkinImageVariantsTest, AVariantWhoseDataIsDamagedFailsACheckAndIsLeftOutOfAScale) {
    Write("face.png", SolidPng(4, 2, 10));
    testing::PngBuilder damaged;
    damaged.Header(8, 4, 8, 6).Chunk("IDAT", std::vector<std::uint8_t>(40, 0xFF)).End();
    Write("face@2x.png", damaged.Bytes());
    SkinImageFiles files = Read();
    EXPECT_TRUE(files.HasVariant(2));
    EXPECT_EQ(PrepareVariant(files, DisplayScale(192)), 1);
    EXPECT_FALSE(files.HasVariant(2));
    EXPECT_EQ(ScaledSkinImage(files, DisplayScale(192)).Width(), 8);
    try {
        Read(true);
        FAIL() << "a checking load took the damaged variant";
    } catch (const PngError& e) {
        EXPECT_NE(std::string(e.what()).find("face@2x.png: bad compressed data"), std::string::npos)
            << e.what();
    }
}

TEST_F(SkinImageVariantsTest, ScaledImagesTakeTheMappedSizeAndCopyAnExactVariant) {
    Write("face.png", SolidPng(10, 6, 10));
    Write("face@2x.png", SolidPng(20, 12, 200));
    SkinImageFiles files = Read();
    const Bitmap32 twice = ScaledSkinImage(files, DisplayScale(192));
    ASSERT_EQ(twice.Width(), 20);
    EXPECT_EQ(twice.At(0, 0), MakePixel(0, 0, 200, 255)); // no resampling softens the edge
    const Bitmap32 half = ScaledSkinImage(files, DisplayScale(144));
    EXPECT_EQ(half.Width(), 15);
    EXPECT_EQ(half.Height(), 9);
    EXPECT_EQ(half.At(7, 4), MakePixel(0, 0, 200, 255)); // drawn from the @2x image
    EXPECT_EQ(ScaledSkinImage(files, DisplayScale(96)).At(0, 0), MakePixel(0, 0, 10, 255));
}

TEST_F(SkinImageVariantsTest, StripCellsAreScaledApartSoNoneBleedsIntoItsNeighbour) {
    // Three opaque cells, red, green and blue, 4 x 4 each.
    std::vector<std::uint8_t> row;
    for (int x = 0; x < 12; ++x) {
        const int cell = x / 4;
        row.insert(row.end(), {static_cast<std::uint8_t>(cell == 0 ? 255 : 0),
                               static_cast<std::uint8_t>(cell == 1 ? 255 : 0),
                               static_cast<std::uint8_t>(cell == 2 ? 255 : 0), 255});
    }
    testing::PngBuilder png;
    png.Header(12, 4, 8, 6).ImageData(testing::RepeatRows(row, 4)).End();
    Write("face.png", png.Bytes());
    SkinImageFiles files = Read();
    const Bitmap32 strip = ScaledCellStrip(files, DisplayScale(144));
    ASSERT_EQ(strip.Width(), 18);
    ASSERT_EQ(strip.Height(), 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 18; ++x) {
            const Pixel32 p = strip.At(x, y);
            const int cell = x / 6;
            ASSERT_EQ(RedOf(p) != 0, cell == 0 && AlphaOf(p) > 0) << x << "," << y;
            ASSERT_EQ(GreenOf(p) != 0, cell == 1 && AlphaOf(p) > 0) << x << "," << y;
            ASSERT_EQ(BlueOf(p) != 0, cell == 2 && AlphaOf(p) > 0) << x << "," << y;
        }
    }
}

} // namespace
} // namespace norvale
