#pragma once

// libpng as the reference decoder for tests and benchmarks (Linux only).

#include "core/raster/png_decoder.h"

#include <algorithm>
#include <cstdint>
#include <png.h>
#include <stdexcept>
#include <vector>

namespace norvale::testing {

struct LibpngReader {
    const std::vector<std::uint8_t>& File;
    std::size_t Pos = 0;
};

// libpng's own expansion of a file to 8-bit RGBA: palette and transparency expanded, grey
// widened, 16-bit samples scaled (rounded), no gamma applied.
inline PngImage DecodeWithLibpng(const std::vector<std::uint8_t>& file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    LibpngReader reader{file};
    PngImage image;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng rejected the file");
    }
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<LibpngReader*>(png_get_io_ptr(p));
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

// An 8-bit RGBA image written by libpng with its default compression and row filters.
inline std::vector<std::uint8_t> EncodeWithLibpng(int width, int height,
                                                  const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the image");
    }
    png_set_write_fn(
        png, &file,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgba.data() + static_cast<std::size_t>(y) * width * 4);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

} // namespace norvale::testing
