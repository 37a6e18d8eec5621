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
    // Blending these premultiplied pixels onto a transparent bitmap would copy them.
    return onWhite;
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

const Bitmap32& LabelRaster::Render(std::string_view text, const TextFont& font,
                                    const TextRasterizer& rasterizer) {
    const bool same = FRasterizer == &rasterizer && FText == text && FFont.Name == font.Name &&
                      FFont.Size == font.Size && FFont.Color == font.Color && FFont.Dpi == font.Dpi;
    if (!same) {
        FBitmap = RenderLabelText(text, font, rasterizer);
        FRasterizer = &rasterizer;
        FText = text;
        FFont = font;
    }
    return FBitmap;
}

void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend, LabelRaster& raster) {
    TextFont font = label.Font;
    font.Color = label.DrawingColour;
    const Bitmap32& rendered = raster.Render(text, font, rasterizer);
    // The bitmap is the measured text with a pixel on each side.
    const int x = CentredTextLeft(label.Left, label.Width, rendered.Width() - 2);
    AlphaBlend(layer, x, label.Top, rendered, blend);
}

void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend) {
    LabelRaster fresh;
    DrawLabel(layer, label, text, rasterizer, blend, fresh);
}

} // namespace norvale
