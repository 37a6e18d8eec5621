#pragma once

#include "core/platform/file_system.h"
#include "core/platform/text_rasterizer.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace norvale::testing {

// Text output with block glyphs: every character but a space is a cell solid except its
// last column, which is covered by half (an anti-aliased edge). The cell is CharWidth x
// LineHeight pixels (at 96 dots per inch, scaled with the font's DPI), or, where those are 0,
// half an em wide and 1.25 em high for the font's size at its DPI. Remembers the colours it was
// asked to draw in and the font files it added: those that begin with a TrueType ("\0\1\0\0",
// "true") or OpenType ("OTTO") tag.
class FakeTextRasterizer final : public TextRasterizer {
public:
    TextExtent MeasureText(const TextFont& font, std::string_view text) const override {
        ++Measured;
        const TextExtent cell = Cell(font);
        return {static_cast<int>(text.size()) * cell.Width, cell.Height};
    }

    void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                   std::string_view text, int left, int top) const override {
        if (PaintFails) {
            throw std::runtime_error("the text cannot be drawn");
        }
        DrawnColours.push_back(colour);
        LargestTarget =
            std::max(LargestTarget, static_cast<std::size_t>(target.Width()) * target.Height());
        const Pixel32 ink = OpaquePixelOf(colour);
        const TextExtent cell = Cell(font);
        for (std::size_t n = 0; n < text.size(); ++n) {
            if (text[n] == ' ') {
                continue;
            }
            // Only the cell's pixels inside the target are visited.
            const long long x0 = left + static_cast<long long>(n) * cell.Width;
            const long long first = std::max(0LL, -x0);
            const long long last = std::min<long long>(cell.Width, target.Width() - x0);
            for (int y = std::max(0, top); y < target.Height() && y - top < cell.Height; ++y) {
                for (long long i = first; i < last; ++i) {
                    Pixel32& p = target.At(static_cast<int>(x0 + i), y);
                    p = i + 1 < cell.Width ? (ink & 0xFFFFFF) | (p & 0xFF000000) : Mix(p, ink);
                }
            }
        }
    }

    // Every PaintText throws, as a font engine out of memory would.
    bool PaintFails = false;
    // Where font files are read, when not from the disk.
    FileSystem* Files = nullptr;

    bool AddPrivateFont(const std::filesystem::path& file) override {
        std::string tag(4, '\0');
        if (Files) {
            const std::u8string name = file.u8string();
            const auto bytes = Files->Read(std::string(name.begin(), name.end()));
            if (!bytes || bytes->size() < tag.size()) {
                return false;
            }
            tag = bytes->substr(0, tag.size());
        } else if (std::ifstream in(file, std::ios::binary); !in.read(tag.data(), 4)) {
            return false;
        }
        const std::string_view read = tag;
        if (read != std::string_view("\0\1\0\0", 4) && read != "true" && read != "OTTO") {
            return false;
        }
        PrivateFonts.push_back(file);
        return true;
    }

    void RemovePrivateFont(const std::filesystem::path& file) override {
        const auto found = std::find(PrivateFonts.begin(), PrivateFonts.end(), file);
        if (found != PrivateFonts.end()) {
            PrivateFonts.erase(found);
        }
    }

    int CharWidth = 0;
    int LineHeight = 0;
    mutable std::vector<std::uint32_t> DrawnColours;
    // The most pixels of a bitmap it was asked to draw on.
    mutable std::size_t LargestTarget = 0;
    mutable int Measured = 0;
    std::vector<std::filesystem::path> PrivateFonts;

private:
    TextExtent Cell(const TextFont& font) const {
        const int em = (font.Size * font.Dpi + 36) / 72;
        const auto scaled = [&](int pixels) { return (pixels * font.Dpi + 48) / 96; };
        return {CharWidth > 0 ? scaled(CharWidth) : em / 2,
                LineHeight > 0 ? scaled(LineHeight) : em + em / 4};
    }

    // Half of the ink over the background, alpha kept.
    static Pixel32 Mix(Pixel32 back, Pixel32 ink) {
        const auto half = [&](int shift) {
            return (((back >> shift & 0xFF) + (ink >> shift & 0xFF) + 1) / 2) << shift;
        };
        return half(0) | half(8) | half(16) | (back & 0xFF000000);
    }
};

} // namespace norvale::testing
