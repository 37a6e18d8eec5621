// Composing a 150 x 150 frame from the skin's layers, and one step of the fade animation.
#include "core/clock/fade.h"
#include "core/clock/presentation.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>

namespace norvale {
namespace {

constexpr int kSide = 150;

// A premultiplied disc of the given colour and alpha with a soft edge, transparent outside:
// the shape of a face, a glass or a layer of labels and hands.
Bitmap32 Disc(int side, std::uint32_t b, std::uint32_t g, std::uint32_t r, double alpha) {
    Bitmap32 bitmap(side, side);
    const double radius = side / 2.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double d = std::hypot(x + 0.5 - radius, y + 0.5 - radius);
            const double cover = std::clamp(radius - d, 0.0, 1.0) * alpha;
            const auto a = static_cast<std::uint32_t>(std::lround(255 * cover));
            bitmap.At(x, y) = MakePixel(MulDiv255(b, a), MulDiv255(g, a), MulDiv255(r, a), a);
        }
    }
    return bitmap;
}

std::unique_ptr<TSkin> BenchSkin() {
    auto skin = std::make_unique<TSkin>();
    skin->FaceBitmap = Disc(kSide, 200, 180, 160, 1.0);
    skin->TextLayer.Bitmap() = Disc(kSide, 20, 20, 20, 0.5);
    // Glass images are often smaller than the face and stretched onto it.
    skin->DigitalGlass = Disc(100, 255, 255, 255, 0.2);
    skin->Glass = Disc(kSide, 255, 255, 255, 0.3);
    skin->Frame.SetSize(kSide, kSide);
    skin->ZoomFrame.SetSize(kSide, kSide);
    return skin;
}

void BM_ComposeFrame(benchmark::State& state) {
    auto skin = BenchSkin();
    for (auto _ : state) {
        ComposeFrame(*skin, {kAcSrcOver, 0, 255, kAcSrcAlpha});
        benchmark::DoNotOptimize(skin->Frame.Bits());
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMicrosecond);

// Steps of tray fades, in and out in turn: travelling, the picture between 16 and 150 pixels.
void BM_FadeStep(benchmark::State& state) {
    auto skin = BenchSkin();
    ComposeFrame(*skin, {kAcSrcOver, 0, 255, kAcSrcAlpha});
    FadeZoom fade;
    fade.SetZoomCenter({900, 700});
    fade.SetRestCenter({400, 300});
    for (auto _ : state) {
        if (!fade.Enabled()) {
            fade.FadingOut() ? fade.StartFadeIn() : fade.StartFadeOut();
        }
        benchmark::DoNotOptimize(fade.fadeTimerTimer(skin->Frame, skin->ZoomFrame));
    }
}
BENCHMARK(BM_FadeStep)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace norvale
