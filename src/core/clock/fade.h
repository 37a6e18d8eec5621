#pragma once

#include "core/platform/layered_window.h"
#include "core/raster/display_scale.h"
#include "core/raster/pixel_ops.h"

namespace norvale {

// What the window does once an animation step has been presented.
enum class AfterFade {
    Continue,    // the animation goes on; the fade timer stays on
    RenderFrame, // the fade-in ended: render (and so present) a full frame
    Hide,        // the fade-out ended: hide the window
    HideAndClose // the closing fade-out ended: hide the window, then close it again
};

// One step of the animation: the scaled frame to present, then what to do.
struct FadeStep {
    PresentRequest Present;
    AfterFade Then = AfterFade::Continue;

    bool Ended() const { return Then != AfterFade::Continue; }
};

// The fade-and-zoom animation of the clock window when it is shown, hidden or closed, and
// the blend record every blend of a frame uses. The window's 10 ms fade timer calls
// fadeTimerTimer while Enabled(); nothing here reads a clock.
class FadeZoom {
public:
    // The blend of every layer and window update; its constant alpha is the fade level.
    BLENDFUNCTION Blend() const { return FBlend; }
    std::uint8_t Alpha() const { return FBlend.SourceConstantAlpha; }
    // The window's constant alpha at rest (its opacity); the fade runs from 0 up to it.
    std::uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(std::uint8_t opacity) { FOpacity = opacity; }
    // The constant alpha the window is shown with now: the fade level through the opacity.
    std::uint8_t WindowAlpha() const;
    int Zoom() const { return FZoom; }
    bool FadingOut() const { return FFadingOut; }
    bool Closing() const { return FClosing; }
    void SetClosing(bool closing) { FClosing = closing; }
    // Whether the fade timer is on.
    bool Enabled() const { return FEnabled; }

    // Screen points: where the zoom starts from or heads to, and the window's centre at rest.
    POINT ZoomCenter() const { return FZoomCenter; }
    void SetZoomCenter(POINT center) { FZoomCenter = center; }
    POINT RestCenter() const { return FRestCenter; }
    void SetRestCenter(POINT center) { FRestCenter = center; }

    // The picture never shrinks below 16 skin pixels a side, at the window's scale.
    void SetDisplayScale(DisplayScale scale);

    // The window's top-left corner for the next update; the steps move it.
    POINT WindowPos() const { return FWindowPos; }
    void SetWindowPos(POINT pos) { FWindowPos = pos; }

    // Fade in from the current level while growing from 200/255 of the size, at start-up.
    void StartStartupFadeIn();
    // Fade and grow in from the current level and zoom (the window was just shown).
    void StartFadeIn();
    // Fade and shrink towards the zoom centre, ending hidden.
    void StartFadeOut();
    // Fade out from full level, shrinking in place slowly, ending with a second close.
    void StartClosingFadeOut();

    // One animation step: updates the level and the zoom, moves the window so the picture,
    // `frame` scaled into the top-left corner of `zoomFrame`, sits on the travelling centre.
    // The caller presents the request, then does what the step says.
    FadeStep fadeTimerTimer(const Bitmap32& frame, Bitmap32& zoomFrame);

private:
    void StepIn();
    void StepOut();

    BLENDFUNCTION FBlend{kAcSrcOver, 0, 0, kAcSrcAlpha};
    std::uint8_t FOpacity = 255;
    int FZoom = 0;
    bool FFadingOut = false;
    bool FClosing = false;
    bool FEnabled = false;
    int FMinPicture = 16; // pixels
    POINT FZoomCenter;
    POINT FRestCenter;
    POINT FWindowPos;
};

} // namespace norvale
