#pragma once

#include "core/platform/bitmap32.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace norvale {

// A font as a label holds it; the style is always regular.
struct TextFont {
    std::string Name;        // family, at most 31 characters are used
    int Size = 8;            // points; pixels = Size x Dpi / 72, rounded
    std::uint32_t Color = 0; // 0x00BBGGRR
    int Dpi = 96;            // dots per inch of the pixels it is measured and drawn in
};

struct TextExtent {
    int Width = 0;
    int Height = 0;
};

// The platform's text output: measuring and drawing one line of UTF-8 text.
class TextRasterizer {
public:
    virtual ~TextRasterizer() = default;

    // Width (the advance of the whole line) and height (the font's line height, also for
    // an empty text) in pixels.
    virtual TextExtent MeasureText(const TextFont& font, std::string_view text) const = 0;

    // Draws the text with the top-left corner of its line at (left, top) in `colour`
    // (0x00BBGGRR), with the platform's anti-aliasing, onto an opaque bitmap; the alpha channel
    // is left as it is. The corner may lie outside the target: only what falls inside is drawn,
    // exactly as it would be in a larger target.
    // NOTE: not called DrawText, which <windows.h> defines as a macro.
    virtual void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                           std::string_view text, int left, int top) const = 0;

    // Makes the families of a TrueType or OpenType file usable by this process only, for as
    // long as the rasterizer lives; false when the file holds no font that could be added.
    virtual bool AddPrivateFont(const std::filesystem::path& file) = 0;
    // Takes back one adding of the file; families it alone provided are no longer found.
    virtual void RemovePrivateFont(const std::filesystem::path& file) = 0;
};

} // namespace norvale
