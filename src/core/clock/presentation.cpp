#include "core/clock/presentation.h"

namespace norvale {

void ComposeFrame(TSkin& skin, BLENDFUNCTION blend) {
    const Bitmap32& textLayer = skin.TextLayer.Bitmap();
    const RECT layerRect = textLayer.BoundsRect();
    Bitmap32& frame = skin.Frame;
    frame.Clear(0);
    AlphaBlend(frame, 0, 0, skin.FaceBitmap, blend);
    AlphaBlend(frame, 0, 0, textLayer, blend);
    if (skin.DigitalGlass) {
        AlphaBlend(frame, layerRect, *skin.DigitalGlass, skin.DigitalGlass->BoundsRect(), blend);
    }
    AlphaBlend(frame, layerRect, skin.Glass, skin.Glass.BoundsRect(), blend);
}

BLENDFUNCTION ComposingBlend(BLENDFUNCTION windowBlend) {
    windowBlend.SourceConstantAlpha = 255;
    return windowBlend;
}

PresentRequest FrameRequest(const Bitmap32& frame, POINT windowPos, std::uint8_t windowAlpha) {
    return {&frame, windowPos, {frame.Width(), frame.Height()}, windowAlpha};
}

} // namespace norvale
