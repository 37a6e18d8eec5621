#include "core/raster/png_decoder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <png.h>
#include <stdexcept>

namespace norvale {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct MemoryReader {
    const Bytes& File;
    std::size_t Pos = 0;
};

// libpng's own expansion of a file to 8-bit RGBA: palette and transparency expanded, grey
// widened, 16-bit samples scaled (rounded), no gamma applied.
PngImage DecodeWithLibpng(const Bytes& file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{file};
    PngImage image;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng rejected the file");
    }
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<MemoryReader*>(png_get_io_ptr(p));
        if (r->File.size() - r->Pos < n) {
            png_error(p, "read past the end");
        }
        std::copy_n(r->File.data() + r->Pos, n, out);
        r->Pos += n;
    });
    png_read_info(png, info);
    image.ColourType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image.Width = static_cast<int>(png_get_image_width(png, info));
    image.Height = static_cast<int>(png_get_image_height(png, info));
    image.Rgba.resize(static_cast<std::size_t>(image.Width) * image.Height * 4);
    for (int y = 0; y < image.Height; ++y) {
        rows.push_back(image.Rgba.data() + static_cast<std::size_t>(y) * image.Width * 4);
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
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
        const PngImage expected = DecodeWithLibpng(file);
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

} // namespace
} // namespace norvale
