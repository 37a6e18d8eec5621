#pragma once

#include "core/platform/layered_window.h"
#include "core/raster/pixel_ops.h"
#include "core/skin/skin_loader.h"

namespace norvale {

// Builds the skin's Frame from its layers, bottom to top: the face, the text layer (labels,
// buttons and hands), the digital glass when the skin has one and the glass, both glasses
// stretched to the text layer's size. Every layer is blended with `blend`, so its constant
// alpha (the fade level) scales each layer as it is laid on.
void ComposeFrame(TSkin& skin, BLENDFUNCTION blend);

// The blend a frame is composed with: the window's blend at full level. The fade level is
// applied once, when the frame is shown; composing at it too would show a fading frame at
// the square of its level, and keep a frame drawn at level 0 empty.
BLENDFUNCTION ComposingBlend(BLENDFUNCTION windowBlend);

// The request that shows a whole composed frame with its top-left corner at windowPos,
// through the window's constant alpha.
PresentRequest FrameRequest(const Bitmap32& frame, POINT windowPos, std::uint8_t windowAlpha);

} // namespace norvale
