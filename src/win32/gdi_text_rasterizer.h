#pragma once

#include "core/platform/text_rasterizer.h"

namespace norvale::win32 {

// Text output with GDI: a font of the family at size x the screen's DPI / 72 pixels (em
// height), anti-aliased, drawn on a DIB section holding a copy of the target bitmap.
class GdiTextRasterizer final : public TextRasterizer {
public:
    TextExtent MeasureText(const TextFont& font, std::string_view text) const override;
    void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                  std::string_view text) const override;
};

} // namespace norvale::win32
