#include "core/raster/label_text.h"

namespace norvale {

std::uint32_t ContrastColour(std::uint32_t colour) {
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = colour >> 8 & 0xFF;
    const std::uint32_t b = colour >> 16 & 0xFF;
    return 2 * r + 5 * g + b < 1024 ? 0xFFFFFF : 0x000000;
}

Bitmap32 RenderLabelText(std::string_view text, const TextFont& font,
                         const TextRasterizer& rasterizer) {
    const TextExtent extent = rasterizer.MeasureText(font, text);
    const int w = extent.Width + 2;
    const int h = extent.Height + 2;
    Bitmap32 result(w, h);
    const std::uint32_t contrast = ContrastColour(font.Color);
    Bitmap32 onWhite(w, h, 0xFFFFFFFF);
    rasterizer.PaintText(onWhite, font, contrast, text);
    Bitmap32 onBlack(w, h, 0xFF000000);
    rasterizer.PaintText(onBlack, font, contrast, text);

    const Pixel32 colour = OpaquePixelOf(font.Color);
    Pixel32* p = onWhite.Bits();
    const Pixel32* q = onBlack.Bits();
    const std::size_t pixels = static_cast<std::size_t>(w) * h;
    for (std::size_t i = 0; i < pixels; ++i) {
        const auto diff = [&](int shift) {
            return static_cast<std::uint8_t>((p[i] >> shift) - (q[i] >> shift));
        };
        const std::uint32_t d = diff(0) + diff(8) + diff(16);
        const std::uint32_t alpha = 255 - d / 3;
        p[i] = MakePixel(BlueOf(colour) * alpha / 255, GreenOf(colour) * alpha / 255,
                         RedOf(colour) * alpha / 255, alpha);
    }
    AlphaBlend(result, 0, 0, onWhite, BLENDFUNCTION{kAcSrcOver, 0, 255, kAcSrcAlpha});
    return result;
}

int CentredTextLeft(int left, int width, int textWidth) {
    // Twice the exact position is an integer; an odd one lies halfway and goes to the even
    // neighbour.
    const long long twice = 2LL * left + width - textWidth;
    const long long lower = twice >= 0 ? twice / 2 : (twice - 1) / 2;
    if (twice % 2 == 0 || lower % 2 == 0) {
        return static_cast<int>(lower);
    }
    return static_cast<int>(lower + 1);
}

void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend) {
    TextFont font = label.Font;
    font.Color = label.DrawingColour;
    const int textWidth = rasterizer.MeasureText(font, text).Width;
    const int x = CentredTextLeft(label.Left, label.Width, textWidth);
    const Bitmap32 rendered = RenderLabelText(text, font, rasterizer);
    AlphaBlend(layer, x, label.Top, rendered, blend);
}

} // namespace norvale
