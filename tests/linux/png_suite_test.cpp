#include "core/raster/png_decoder.h"
#include "support/libpng_reference.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace norvale {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> SuiteFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(NORVALE_TESTDATA_DIR) / "pngsuite")) {
        if (entry.path().extension() == ".png") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PngSuite, EveryValidImageDecodesLikeLibpng) {
    int checked = 0;
    for (const fs::path& path : SuiteFiles()) {
        const std::string name = path.filename().string();
        if (name[0] == 'x') {
            continue;
        }
        const Bytes file = ReadFile(path);
        const PngImage expected = testing::DecodeWithLibpng(file);
        const PngImage actual = DecodePng(file, name);
        EXPECT_EQ(actual.Width, expected.Width) << name;
        EXPECT_EQ(actual.Height, expected.Height) << name;
        EXPECT_EQ(actual.ColourType, expected.ColourType) << name;
        EXPECT_TRUE(actual.Rgba == expected.Rgba) << name;
        ++checked;
    }
    EXPECT_EQ(checked, 161);
}

TEST(PngSuite, EveryBrokenImageIsRejectedWithItsName) {
    int checked = 0;
    for (const fs::path& path : SuiteFiles()) {
        const std::string name = path.filename().string();
        if (name[0] != 'x') {
            continue;
        }
        try {
            DecodePng(ReadFile(path), name);
            ADD_FAILURE() << name << " decoded";
        } catch (const PngError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(name + ": ", 0), 0u) << e.what();
        }
        ++checked;
    }
    EXPECT_EQ(checked, 14);
}

TEST(PngSuite, LibpngWrittenImagesDecodeAlike) {
    // Noisy RGBA pictures make libpng choose every row filter, Paeth included.
    std::uint32_t seed = 1;
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 7}, {64, 33}, {257, 19}}) {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
        for (std::size_t i = 0; i < rgba.size(); ++i) {
            seed = seed * 1103515245 + 12345;
            rgba[i] = static_cast<std::uint8_t>((i % 4 == 3 ? 200 : i) + (seed >> 28));
        }
        const Bytes file = testing::EncodeWithLibpng(w, h, rgba);
        const PngImage image = DecodePng(file, "noise.png");
        EXPECT_TRUE(image.Rgba == rgba) << w << " x " << h;
    }
}

} // namespace
} // namespace norvale
