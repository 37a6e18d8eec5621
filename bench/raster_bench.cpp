#include "core/raster/label_text.h"
#include "core/raster/png_decoder.h"
#include "core/raster/rot_layer.h"
#include "linux/freetype_text_rasterizer.h"
#include "support/libpng_reference.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <map>

namespace norvale {
namespace {

// A skin-like RGBA picture: a shaded disc with a soft edge on a transparent ground, with a
// little grain so that the filters have work to do.
std::vector<std::uint8_t> FacePicture(int size) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
    const double r = size / 2.0;
    std::uint32_t grain = 12345;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            grain = grain * 1103515245 + 12345;
            const double d = std::hypot(x + 0.5 - r, y + 0.5 - r) / r;
            const double edge = std::clamp((1 - d) * r / 2, 0.0, 1.0);
            std::uint8_t* p = rgba.data() + (static_cast<std::size_t>(y) * size + x) * 4;
            const int noise = static_cast<int>(grain >> 29);
            p[0] = static_cast<std::uint8_t>(std::clamp(60 + 150 * x / size + noise, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(90 + 120 * y / size + noise, 0, 255));
            p[2] = static_cast<std::uint8_t>(
                std::clamp(static_cast<int>(200 - 120 * d) + noise, 0, 255));
            p[3] = static_cast<std::uint8_t>(std::lround(255 * edge));
        }
    }
    return rgba;
}

const std::vector<std::uint8_t>& PngOfSize(int size) {
    static std::map<int, std::vector<std::uint8_t>> files;
    auto& file = files[size];
    if (file.empty()) {
        file = testing::EncodeWithLibpng(size, size, FacePicture(size));
    }
    return file;
}

void BM_DecodePngNorvale(benchmark::State& state) {
    const auto& file = PngOfSize(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodePng(file, "face.png"));
    }
}
BENCHMARK(BM_DecodePngNorvale)->Arg(150)->Arg(400)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_DecodePngLibpng(benchmark::State& state) {
    const auto& file = PngOfSize(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(testing::DecodeWithLibpng(file));
    }
}
BENCHMARK(BM_DecodePngLibpng)->Arg(150)->Arg(400)->Arg(1024)->Unit(benchmark::kMicrosecond);

// A 10 x 90 hand with soft sides, turned by 37 degrees onto a 150 x 150 face.
void BM_PaintLayerHand37(benchmark::State& state) {
    TRotLayer hand;
    hand.Bitmap().SetSize(10, 90);
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 10; ++x) {
            const std::uint32_t a = x == 0 || x == 9 ? 96 : 255;
            hand.Bitmap().At(x, y) = MakePixel(a * 3 / 4, a / 2, a, a);
        }
    }
    hand.SetBitmapCenter({4.5f, 80});
    hand.SetPosition({75, 75});
    hand.SetAngle(37);
    Bitmap32 face(150, 150);
    for (auto _ : state) {
        hand.PaintLayer(face);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintLayerHand37)->Unit(benchmark::kMicrosecond);

void BM_RenderLabelTextFreeType(benchmark::State& state) {
    const linux_adapter::FreeTypeTextRasterizer rasterizer;
    const TextFont font{"DejaVu Sans", 14, 0x96BED3};
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderLabelText("00:00:00", font, rasterizer));
    }
}
BENCHMARK(BM_RenderLabelTextFreeType)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace norvale
