#include "core/raster/skin_image.h"

#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace norvale {
namespace {

// No valid image within the decoder's limits needs a larger file.
constexpr std::uintmax_t kMaxSkinFileBytes = 1ull << 30;

std::filesystem::path PathOf(const std::filesystem::path& folder, std::string_view relative) {
    std::u8string name(relative.size(), u8'\0');
    for (std::size_t i = 0; i < relative.size(); ++i) {
        name[i] = relative[i] == '\\' ? u8'/' : static_cast<char8_t>(relative[i]);
    }
    return folder / std::filesystem::path(name);
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path,
                                        const std::string& name) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        throw PngError(name + ": cannot open the file");
    }
    if (size > kMaxSkinFileBytes) {
        throw PngError(name + ": file too large");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        throw PngError(name + ": cannot read the file");
    }
    return bytes;
}

} // namespace

Bitmap32 SkinBitmapFromPng(const PngImage& png, std::uint32_t fillColour) {
    const std::uint32_t fill[3] = {fillColour & 0xFF, fillColour >> 8 & 0xFF,
                                   fillColour >> 16 & 0xFF};
    Bitmap32 bitmap(png.Width, png.Height);
    const std::uint8_t* in = png.Rgba.data();
    Pixel32* out = bitmap.Bits();
    const std::size_t pixels = static_cast<std::size_t>(png.Width) * png.Height;
    for (std::size_t i = 0; i < pixels; ++i, in += 4) {
        const std::uint32_t a = in[3];
        std::uint32_t c[3];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t over = (in[k] * a + fill[k] * (255 - a) + 255) >> 8;
            c[k] = over * a / 255;
        }
        out[i] = MakePixel(c[2], c[1], c[0], a);
    }
    return bitmap;
}

void LoadSkinImage(Bitmap32& target, std::string_view relativePath, std::uint32_t fillColour,
                   const std::filesystem::path& programFolder) {
    const std::filesystem::path path = PathOf(programFolder, relativePath);
    const std::u8string pathText = path.u8string();
    const std::string name(pathText.begin(), pathText.end());
    target = SkinBitmapFromPng(DecodePng(ReadWholeFile(path, name), name), fillColour);
}

} // namespace norvale
