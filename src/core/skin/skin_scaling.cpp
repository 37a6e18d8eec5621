#include "core/skin/skin_loader.h"

#include <algorithm>
#include <cmath>

namespace norvale {
namespace {

// The side of the placeholder face, in skin pixels.
constexpr int kPlaceholderSide = 150;

// A dark disc with an anti-aliased edge: coverage from the distance to the rim.
Bitmap32 PlaceholderFace(int side) {
    const double radius = side / 2.0 - 1;
    Bitmap32 face(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = x + 0.5 - side / 2.0;
            const double dy = y + 0.5 - side / 2.0;
            const double coverage = std::clamp(radius - std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            const auto a = static_cast<std::uint32_t>(std::lround(coverage * 230));
            const std::uint32_t grey = 40 * a / 255;
            face.At(x, y) = MakePixel(grey, grey, grey, a);
        }
    }
    return face;
}

// The hand's image as the chosen variant, unscaled: the turn scales it to the window in the
// same resampling step, so it is never blurred twice.
void PrepareHand(TRotLayer& layer, HandSource& hand, DisplayScale scale) {
    const int variant = PrepareVariant(hand.Files, scale);
    const double factor = variant;
    // The pivot on the variant's pixel grid, pixel i centred on i as on the skin's grid.
    const auto onVariant = [factor](float v) {
        return static_cast<float>(v * factor + (factor - 1) / 2);
    };
    layer.Bitmap() = hand.Files.Variant(variant);
    layer.SetBitmapCenter({onVariant(hand.BitmapCenter.X), onVariant(hand.BitmapCenter.Y)});
    layer.SetPosition({static_cast<float>(scale.PointToPhysical(hand.Position.X)),
                       static_cast<float>(scale.PointToPhysical(hand.Position.Y))});
    layer.SetScale(static_cast<float>(scale.Factor() / factor));
}

} // namespace

void PrepareSkin(TSkin& skin, DisplayScale scale) {
    skin.Scale = scale;
    if (!skin.Sources) {
        skin.FaceBitmap = PlaceholderFace(scale.Length(kPlaceholderSide));
    } else {
        SkinSources& sources = *skin.Sources;
        skin.FaceBitmap = ScaledSkinImage(sources.Face, scale);
        skin.ButtonGlyphs = ScaledCellStrip(sources.Buttons, scale);
        skin.Glass = ScaledSkinImage(sources.Glass, scale);
        if (sources.DigitalGlass) {
            skin.DigitalGlass = ScaledSkinImage(*sources.DigitalGlass, scale);
        }
        PrepareHand(skin.HourHand, sources.Hours, scale);
        PrepareHand(skin.MinuteHand, sources.Minutes, scale);
        PrepareHand(skin.SecondHand, sources.Seconds, scale);
    }
    const int w = skin.Width();
    const int h = skin.Height();
    skin.TextLayer.Bitmap().SetSize(w, h);
    skin.Frame.SetSize(w, h);
    skin.ZoomFrame.SetSize(w, h);
}

} // namespace norvale
