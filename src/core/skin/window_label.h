#pragma once

#include "core/platform/text_rasterizer.h"

#include <string>
#include <string_view>

namespace norvale {

enum class TAlignment { Left, Right, Center };

inline constexpr std::size_t kMaxFontNameLength = 31;

// A text label of the clock window: a box on the face, a text, an alignment and a font.
// An auto-size label measures its text (one line, tabs expanded) whenever the text or the
// font's family or size really changes, and its box takes that size; a right-aligned one
// keeps its right edge. Setting the box, the alignment, the colour or an unchanged value
// measures nothing.
class TWindowLabel {
public:
    TWindowLabel(const TextRasterizer& rasterizer, bool autoSize, int left, int top, int width,
                 int height, std::string text, TextFont font);

    int Left;
    int Top;
    int Width;
    int Height;
    TAlignment Alignment = TAlignment::Center;
    // The colour the renderer chose for the next drawing.
    std::uint32_t DrawingColour = 0;

    const std::string& Text() const { return FText; }
    void SetText(std::string_view text);

    const TextFont& Font() const { return FFont; }
    // The family is cut to its first 31 characters; an empty name keeps it.
    void SetFontName(std::string_view name);
    void SetFontSize(int size);
    void SetFontColor(std::uint32_t color);
    // The three at once, measuring at most once; an empty name keeps the family.
    void SetFont(std::string_view name, int size, std::uint32_t color);

    bool AutoSize() const { return FAutoSize; }

private:
    void AdjustBounds();

    const TextRasterizer* FRasterizer; // not owned; labels are copied when a skin loads
    bool FAutoSize;
    std::string FText;
    TextFont FFont;
};

} // namespace norvale
