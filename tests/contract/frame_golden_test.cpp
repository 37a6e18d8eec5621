// Frames of the default skin at 100 % compared bit for bit with frames recorded before the
// renderer learned other display scales (tests/data/frames/). Each file is a PNG used only
// as a lossless container: its red, green, blue and alpha samples are the frame's
// premultiplied red, green, blue and alpha bytes. Text comes from the block-glyph fake, so
// the frames do not depend on a font engine.
//
// NORVALE_UPDATE_GOLDEN_FRAMES=1 writes the files instead of comparing, for a change that is
// meant to alter the frames.

#include "contract/platform_file_system.h"
#include "contract/xml_document_contract.h"
#include "core/clock/clock_window.h"
#include "core/raster/png_decoder.h"
#include "core/time/calendar.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"
#include "support/png_builder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace norvale::testing {
namespace {

namespace fs = std::filesystem;

fs::path GoldenPath(const std::string& name) {
    return fs::path(NORVALE_TEST_DATA_DIR) / "frames" / (name + ".png");
}

std::vector<std::uint8_t> FrameBytes(const Bitmap32& frame) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const Pixel32 p = frame.At(x, y);
            rgba.insert(rgba.end(), {RedOf(p), GreenOf(p), BlueOf(p), AlphaOf(p)});
        }
    }
    return rgba;
}

void WriteGolden(const std::string& name, const Bitmap32& frame) {
    const std::vector<std::uint8_t> rgba = FrameBytes(frame);
    std::vector<std::uint8_t> raw;
    const std::size_t stride = static_cast<std::size_t>(frame.Width()) * 4;
    for (int y = 0; y < frame.Height(); ++y) {
        raw.push_back(0);
        const auto row = rgba.begin() + static_cast<std::ptrdiff_t>(y * stride);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
    }
    const auto bytes = PngBuilder()
                           .Header(static_cast<std::uint32_t>(frame.Width()),
                                   static_cast<std::uint32_t>(frame.Height()), 8, 6)
                           .ImageData(raw)
                           .End()
                           .Bytes();
    fs::create_directories(GoldenPath(name).parent_path());
    std::ofstream(GoldenPath(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void ExpectGolden(const std::string& name, const Bitmap32& frame) {
    if (std::getenv("NORVALE_UPDATE_GOLDEN_FRAMES")) {
        WriteGolden(name, frame);
        return;
    }
    std::ifstream in(GoldenPath(name), std::ios::binary);
    ASSERT_TRUE(in) << GoldenPath(name);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    const PngImage golden = DecodePng(file, name);
    ASSERT_EQ(golden.Width, frame.Width()) << name;
    ASSERT_EQ(golden.Height, frame.Height()) << name;
    const std::vector<std::uint8_t> drawn = FrameBytes(frame);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        differing += drawn[i] != golden.Rgba[i];
    }
    EXPECT_EQ(differing, 0u) << name << ": bytes that differ from the recorded frame";
}

class FrameGoldenTest : public XmlDocumentContract {
protected:
    FrameGoldenTest() {
        clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 9, 30, 0));
        zones = std::make_unique<TVeskRegistryTimeZones>(registry, true);
        window = std::make_unique<TfrmMain>(clock, *zones, host, text);
        window->SetDefaults();
        const SkinLoadContext context{NORVALE_PROGRAM_DIR, *files, *xml, window->FFormatSettings,
                                      text};
        window->SetSkin(LoadSkin(kDefaultSkin, context, window->Labels, window->Buttons));
    }

    TSkin& Skin() { return const_cast<TSkin&>(*window->Skin()); }

    void FadeIn() {
        window->FFade.StartStartupFadeIn();
        while (window->FFade.Enabled()) {
            window->FFade.fadeTimerTimer(Skin().Frame, Skin().ZoomFrame);
        }
    }

    FakeClock clock;
    FakeRegistry registry;
    FakeTextRasterizer text;
    FakeClockWindowHost host;
    std::unique_ptr<XmlDocument> xml = MakeDocument();
    std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
    std::unique_ptr<TVeskRegistryTimeZones> zones;
    std::unique_ptr<TfrmMain> window;
};

TEST_P(FrameGoldenTest, TheDefaultSkinAtFullScaleDrawsTheRecordedFrames) {
    FadeIn();
    window->Timer1Timer();
    ExpectGolden("clock", Skin().Frame);

    // The title lit under the mouse, the left button hovered, the stopwatch running.
    window->SetClockType(ctStopwatch);
    window->StopWatch1.Start();
    clock.AdvanceSeconds(1.25);
    window->FormMouseMove(60, 82);
    window->FormMouseMove(20, 72);
    window->FormMouseMove(60, 82);
    window->RenderFrame();
    ExpectGolden("stopwatch_hot", Skin().Frame);

    // No hands: the weekday shows; the right button held down.
    window->SetClockType(ctClock);
    window->FDisplayArrows = false;
    window->FormMouseDown(TMouseButton::mbLeft, 125, 72);
    window->RenderFrame();
    ExpectGolden("weekday_pressed", Skin().Frame);

    // A step of the fade out towards a point left of the face: the picture shrinks.
    window->FFade.SetZoomCenter({20, 300});
    window->FFade.SetRestCenter({175, 275});
    window->FFade.StartFadeOut();
    for (int i = 0; i < 6; ++i) {
        window->FFade.fadeTimerTimer(Skin().Frame, Skin().ZoomFrame);
    }
    ExpectGolden("fading_out", Skin().ZoomFrame);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameGoldenTest, ::testing::ValuesIn(XmlAdapters()));

} // namespace
} // namespace norvale::testing
