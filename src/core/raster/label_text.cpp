#include "core/raster/label_text.h"

#include <algorithm>

namespace norvale {

std::uint32_t ContrastColour(std::uint32_t colour) {
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = colour >> 8 & 0xFF;
    const std::uint32_t b = colour >> 16 & 0xFF;
    return 2 * r + 5 * g + b < 1024 ? 0xFFFFFF : 0x000000;
}

Bitmap32 RenderLabelText(std::string_view text, const TextFont& font,
                         const TextRasterizer& rasterizer, const RECT& region) {
    const int w = RectWidth(region);
    const int h = RectHeight(region);
    const std::uint32_t contrast = ContrastColour(font.Color);
    Bitmap32 onWhite(w, h, 0xFFFFFFFF);
    rasterizer.PaintText(onWhite, font, contrast, text, -region.left, -region.top);
    Bitmap32 onBlack(w, h, 0xFF000000);
    rasterizer.PaintText(onBlack, font, contrast, text, -region.left, -region.top);

    const Pixel32 colour = OpaquePixelOf(font.Color);
    Pixel32* p = onWhite.Bits();
    const Pixel32* q = onBlack.Bits();
    const std::size_t pixels = static_cast<std::size_t>(onWhite.Width()) * onWhite.Height();
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

Bitmap32 RenderLabelText(std::string_view text, const TextFont& font,
                         const TextRasterizer& rasterizer) {
    const TextExtent extent = rasterizer.MeasureText(font, text);
    return RenderLabelText(text, font, rasterizer, {0, 0, extent.Width + 2, extent.Height + 2});
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

TextExtent LabelRaster::Measure(std::string_view text, const TextFont& font,
                                const TextRasterizer& rasterizer) {
    const bool same = FRasterizer == &rasterizer && FText == text && FFont.Name == font.Name &&
                      FFont.Size == font.Size && FFont.Color == font.Color && FFont.Dpi == font.Dpi;
    if (!same) {
        // No text is drawn wider or higher than this, whatever a font says.
        constexpr int kMost = 1 << 30;
        const TextExtent measured = rasterizer.MeasureText(font, text);
        FExtent = {std::clamp(measured.Width, 0, kMost), std::clamp(measured.Height, 0, kMost)};
        FRasterizer = &rasterizer;
        FText = text;
        FFont = font;
        FRendered = false;
    }
    return FExtent;
}

const Bitmap32& LabelRaster::Render(std::string_view text, const TextFont& font,
                                    const TextRasterizer& rasterizer, const RECT& region) {
    Measure(text, font, rasterizer);
    const bool sameRegion = FRegion.left == region.left && FRegion.top == region.top &&
                            FRegion.right == region.right && FRegion.bottom == region.bottom;
    if (!FRendered || !sameRegion) {
        FBitmap = RenderLabelText(text, font, rasterizer, region);
        FRegion = region;
        FRendered = true;
    }
    return FBitmap;
}

void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend, LabelRaster& raster) {
    TextFont font = label.Font;
    font.Color = label.DrawingColour;
    const TextExtent extent = raster.Measure(text, font, rasterizer);
    // The text's bitmap is the measured text with a pixel on each side; only the part of it
    // that lands on the layer is made, whatever size the font and the text give it.
    const long long x = CentredTextLeft(label.Left, label.Width, extent.Width);
    const long long y = label.Top;
    const long long left = std::max(0LL, x);
    const long long top = std::max(0LL, y);
    const long long right = std::min<long long>(layer.Width(), x + extent.Width + 2);
    const long long bottom = std::min<long long>(layer.Height(), y + extent.Height + 2);
    if (left >= right || top >= bottom) {
        return;
    }
    const auto width = static_cast<int>(right - left);
    const int bandRows = std::max(1, kLabelBandPixels / width);
    if (bottom - top <= bandRows) {
        const RECT region{static_cast<int>(left - x), static_cast<int>(top - y),
                          static_cast<int>(right - x), static_cast<int>(bottom - y)};
        AlphaBlend(layer, static_cast<int>(left), static_cast<int>(top),
                   raster.Render(text, font, rasterizer, region), blend);
        return;
    }
    for (long long band = top; band < bottom; band += bandRows) {
        const long long end = std::min(bottom, band + bandRows);
        const RECT region{static_cast<int>(left - x), static_cast<int>(band - y),
                          static_cast<int>(right - x), static_cast<int>(end - y)};
        AlphaBlend(layer, static_cast<int>(left), static_cast<int>(band),
                   RenderLabelText(text, font, rasterizer, region), blend);
    }
}

void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend) {
    LabelRaster fresh;
    DrawLabel(layer, label, text, rasterizer, blend, fresh);
}

} // namespace norvale
