#include "core/clock/fade.h"

#include "core/clock/desktop_manners.h"

#include <algorithm>
#include <cstdint>

namespace norvale {
namespace {

constexpr int kFull = 255;
constexpr int kMinPictureSkinPixels = 16;

// n / 255 rounded to the nearest integer, for negative n too. A quotient by 255 is never
// exactly halfway between two integers, so no tie rule is needed.
int RoundDiv255(std::int64_t n) {
    const std::int64_t twice = 2 * n + kFull;
    const std::int64_t divisor = 2 * kFull;
    const std::int64_t q = twice / divisor;
    return static_cast<int>(twice % divisor < 0 ? q - 1 : q);
}

// The side of the scaled picture: the window's side at `zoom`, never below `floor` pixels.
int PictureSide(int side, int zoom, int floor) {
    return std::max(floor, std::min(side, RoundDiv255(std::int64_t{side} * zoom)));
}

// The picture's centre on the line from `zoomAt` (zoom 0) to `restAt` (zoom 255).
int TravellingCentre(int zoomAt, int restAt, int zoom) {
    return RoundDiv255(std::int64_t{zoomAt - restAt} * (kFull - zoom) +
                       std::int64_t{restAt} * kFull);
}

} // namespace

std::uint8_t FadeZoom::WindowAlpha() const {
    return ScaleAlpha(FBlend.SourceConstantAlpha, FOpacity);
}

void FadeZoom::SetDisplayScale(DisplayScale scale) {
    FMinPicture = scale.Length(kMinPictureSkinPixels);
}

void FadeZoom::StartStartupFadeIn() {
    FZoom = 200;
    StartFadeIn();
}

void FadeZoom::StartFadeIn() {
    FFadingOut = false;
    FEnabled = true;
}

void FadeZoom::StartFadeOut() {
    FFadingOut = true;
    FEnabled = true;
}

void FadeZoom::StartClosingFadeOut() {
    FBlend.SourceConstantAlpha = kFull;
    FClosing = true;
    StartFadeOut();
}

void FadeZoom::StepIn() {
    FBlend.SourceConstantAlpha =
        static_cast<std::uint8_t>(std::min(FBlend.SourceConstantAlpha + 7, kFull));
    const bool travelling = FZoomCenter.x != FRestCenter.x || FZoomCenter.y != FRestCenter.y;
    FZoom = std::min(FZoom + (travelling ? 7 : 3), kFull);
}

void FadeZoom::StepOut() {
    const int alpha = FBlend.SourceConstantAlpha;
    if (alpha > 10) {
        FBlend.SourceConstantAlpha = static_cast<std::uint8_t>(alpha - 10);
    } else {
        FBlend.SourceConstantAlpha = 0;
        FZoom = 0;
    }
    FZoom = std::max(FZoom - (FClosing ? 3 : 10), 0);
}

FadeStep FadeZoom::fadeTimerTimer(const Bitmap32& frame, Bitmap32& zoomFrame) {
    FadeStep step;
    if (FFadingOut) {
        StepOut();
        if (FZoom == 0 || FBlend.SourceConstantAlpha == 0) {
            FEnabled = false;
            step.Then = FClosing ? AfterFade::HideAndClose : AfterFade::Hide;
        }
    } else {
        StepIn();
        if (FBlend.SourceConstantAlpha == kFull && FZoom == kFull) {
            FEnabled = false;
            step.Then = AfterFade::RenderFrame;
        }
    }

    const int w = frame.Width();
    const int h = frame.Height();
    const int d = PictureSide(w, FZoom, FMinPicture);
    const int e = PictureSide(h, FZoom, FMinPicture);
    const int cx = TravellingCentre(FZoomCenter.x, FRestCenter.x, FZoom);
    const int cy = TravellingCentre(FZoomCenter.y, FRestCenter.y, FZoom);
    FWindowPos = TopLeftAround({cx, cy}, d, e);
    zoomFrame.Clear(0);
    StretchNearest(zoomFrame, {0, 0, d, e}, frame);
    step.Present = {&zoomFrame, FWindowPos, {w, h}, WindowAlpha()};
    return step;
}

} // namespace norvale
