#pragma once

#include "core/skin/zip_writer.h"
#include "support/png_builder.h"
#include "support/test_skin.h"

#include <string>
#include <utility>
#include <vector>

namespace norvale::testing {

// A w x h PNG, opaque grey with a half transparent first column, as a string.
inline std::string TestPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> row;
    for (std::uint32_t x = 0; x < width; ++x) {
        row.insert(row.end(), {200, 100, 50, static_cast<std::uint8_t>(x == 0 ? 128 : 255)});
    }
    const auto bytes = PngBuilder()
                           .Header(width, height, 8, 6)
                           .ImageData(RepeatRows(row, static_cast<int>(height)))
                           .End()
                           .Bytes();
    return {bytes.begin(), bytes.end()};
}

// The files of kTestSkinXml's skin, paths below its folder: its images, a @2x face, a font
// (a TrueType tag and nothing more, which the fake text rasterizer takes) and a licence.
inline std::vector<std::pair<std::string, std::string>> TestSkinFiles() {
    return {{"skin.xml", kTestSkinXml},
            {"face.png", TestPng(150, 140)},
            {"face@2x.png", TestPng(300, 280)},
            {"buttons.png", TestPng(60, 10)},
            {"glass.png", TestPng(150, 140)},
            {"dglass.png", TestPng(150, 140)},
            {"ampm.png", TestPng(24, 10)},
            {"hands/hour.png", TestPng(8, 52)},
            {"hands/minute.png", TestPng(5, 59)},
            {"second.png", TestPng(7, 78)},
            {"fonts/f.ttf", std::string("\0\1\0\0font", 8)},
            {"fonts/f_licence.txt", "free to use"}};
}

// The test skin as the package of the folder `name`.
inline std::string TestSkinPackage(const std::string& name = "test") {
    ZipWriter zip;
    for (const auto& [path, bytes] : TestSkinFiles()) {
        zip.Add(name + "/" + path, bytes);
    }
    return zip.Finish();
}

} // namespace norvale::testing
