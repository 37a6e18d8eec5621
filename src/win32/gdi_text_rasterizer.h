#pragma once

#include "core/platform/text_rasterizer.h"

#include <string>
#include <vector>

namespace norvale::win32 {

// Text output with GDI: a font of the family at size x the screen's DPI / 72 pixels (em
// height), anti-aliased, drawn on a DIB section holding a copy of the target bitmap. Font
// files it adds privately are removed again when it is destroyed.
class GdiTextRasterizer final : public TextRasterizer {
public:
    GdiTextRasterizer() = default;
    ~GdiTextRasterizer() override;
    GdiTextRasterizer(const GdiTextRasterizer&) = delete;
    GdiTextRasterizer& operator=(const GdiTextRasterizer&) = delete;

    TextExtent MeasureText(const TextFont& font, std::string_view text) const override;
    void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                   std::string_view text, int left, int top) const override;
    bool AddPrivateFont(const std::filesystem::path& file) override;
    void RemovePrivateFont(const std::filesystem::path& file) override;

private:
    std::vector<std::wstring> FPrivateFonts;
};

} // namespace norvale::win32
