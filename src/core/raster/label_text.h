#pragma once

#include "core/platform/bitmap32.h"
#include "core/platform/text_rasterizer.h"
#include "core/raster/pixel_ops.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace norvale {

// What DrawLabel needs of a window label: its box, its font and the colour the renderer
// chose for this drawing.
struct LabelPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    TextFont Font;
    std::uint32_t DrawingColour = 0;
};

// The most pixels of a label's text made at once, and kept between frames: a larger text is
// drawn in bands of rows, so that no font, text or scale makes a label take more memory.
inline constexpr int kLabelBandPixels = 1 << 20;

// White (0xFFFFFF) for a dark colour, black for a light one: 2 R + 5 G + B < 1024 is dark.
std::uint32_t ContrastColour(std::uint32_t colour);

// The text as a premultiplied bitmap of (width + 2) x (height + 2) in the font's colour. The
// platform's text output wipes alpha, so the text is drawn twice in the contrast colour, on
// white and on black, and the difference of the two gives each pixel's coverage.
Bitmap32 RenderLabelText(std::string_view text, const TextFont& font,
                         const TextRasterizer& rasterizer);

// The part `region` of that bitmap alone, made as large as the region.
Bitmap32 RenderLabelText(std::string_view text, const TextFont& font,
                         const TextRasterizer& rasterizer, const RECT& region);

// A label's text as last measured and rasterized: the same text in the same font, colour and
// rasterizer is measured once, and the same part of it painted once, rather than twice more
// every frame. A skin's labels keep one each for as long as the skin is loaded, so the fonts
// the skin added cannot change under it.
class LabelRaster {
public:
    // The text's size in the font.
    TextExtent Measure(std::string_view text, const TextFont& font,
                       const TextRasterizer& rasterizer);
    // The bitmap RenderLabelText makes of the region of the text.
    const Bitmap32& Render(std::string_view text, const TextFont& font,
                           const TextRasterizer& rasterizer, const RECT& region);
    // The text it measured last.
    const std::string& Text() const { return FText; }

private:
    const TextRasterizer* FRasterizer = nullptr;
    std::string FText;
    TextFont FFont;
    TextExtent FExtent;
    bool FRendered = false;
    RECT FRegion;
    Bitmap32 FBitmap;
};

// Blends the label's text onto the layer, centred on the box (halves to the even pixel) and
// hanging from its top; only the part on the layer is made, in bands of at most
// kLabelBandPixels. `raster` holds the text from the label's previous drawing.
void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend, LabelRaster& raster);

// The same, rasterizing the text afresh.
void DrawLabel(Bitmap32& layer, const LabelPlacement& label, std::string_view text,
               const TextRasterizer& rasterizer, BLENDFUNCTION blend);

// The x of a text `textWidth` wide centred on a box: round(left + width / 2 - textWidth / 2),
// halves to even.
int CentredTextLeft(int left, int width, int textWidth);

} // namespace norvale
