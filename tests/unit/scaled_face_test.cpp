// The clock window at display scales above 100 %: what is drawn and what is hit follow the
// one mapping between skin pixels and physical pixels.
#include "support/clock_window_fixture.h"
#include "support/fake_monitor_layout.h"

#include <algorithm>

namespace norvale {
namespace {

constexpr Pixel32 kFace = MakePixel(40, 40, 40, 255);

SkinImageFiles Plain(int width, int height, Pixel32 fill) {
    SkinImageFiles files;
    files.Name = "plain.png";
    files.Base = Bitmap32(width, height, fill);
    return files;
}

// A skin of plain images made in memory: an opaque 150 x 150 face, six button cells of 10
// pixels, clear glasses and three hands turning about (75, 75).
std::unique_ptr<TSkin> PlainSkin() {
    auto skin = std::make_unique<TSkin>();
    SkinSources& s = skin->Sources.emplace();
    s.Face = Plain(150, 150, kFace);
    s.Buttons = Plain(60, 10, MakePixel(0, 0, 200, 255));
    s.Glass = Plain(150, 150, 0);
    s.AmPm = Plain(24, 10, 0);
    s.Hours = {Plain(4, 40, MakePixel(200, 200, 200, 255)), {1.5f, 35}, {75, 75}};
    s.Minutes = s.Hours;
    s.Seconds = s.Hours;
    PrepareSkin(*skin, DisplayScale());
    return skin;
}

class ScaledFaceTest : public testing::ClockWindowTest {
protected:
    TfrmMain& Open(int dpi) {
        TfrmMain& w = Start();
        w.SetSkin(PlainSkin());
        w.SetDisplayScale(DisplayScale(dpi));
        w.ConnectServices({nullptr, nullptr, nullptr, &monitors});
        w.FFade.StartStartupFadeIn();
        while (w.FFade.Enabled()) {
            w.FFade.fadeTimerTimer(w.Skin()->Frame, const_cast<TSkin*>(w.Skin())->ZoomFrame);
        }
        return w;
    }

    void Click(int x, int y) {
        window->FormMouseDown(TMouseButton::mbLeft, x, y);
        host.Cursor = {x, y};
        window->FormMouseUp();
    }

    // The part of the text layer where the title's text is drawn in full: the pixels of the
    // title's colour below its box's top, within its columns.
    RECT TitleInk() const {
        const Bitmap32& layer = window->Skin()->TextLayer.Bitmap();
        const TWindowLabel& title = window->Labels[lTitle];
        const DisplayScale scale = window->Scale();
        const Pixel32 ink = OpaquePixelOf(title.Font().Color);
        RECT found{layer.Width(), layer.Height(), 0, 0};
        for (int y = scale.ToPhysical(title.Top); y < scale.ToPhysical(title.Top + 16); ++y) {
            for (int x = scale.ToPhysical(title.Left);
                 x < scale.ToPhysical(title.Left + title.Width); ++x) {
                if (layer.At(x, y) == ink) {
                    found = {std::min(found.left, x), std::min(found.top, y),
                             std::max(found.right, x + 1), std::max(found.bottom, y + 1)};
                }
            }
        }
        return found;
    }

    testing::FakeMonitorLayout monitors;
};

TEST_F(ScaledFaceTest, TheWindowAndEveryLayerTakeTheScaledFaceSize) {
    for (const auto& [dpi, side] : {std::pair{120, 187}, {144, 225}, {192, 300}, {288, 450}}) {
        TfrmMain& w = Open(dpi);
        w.RenderFrame();
        EXPECT_EQ(w.Skin()->Width(), side) << dpi;
        EXPECT_EQ(w.Skin()->TextLayer.Bitmap().Width(), side) << dpi;
        EXPECT_EQ(w.Skin()->Frame.Height(), side) << dpi;
        EXPECT_EQ(host.LastSize.cx, side) << dpi;
        // Skin (40, 110), clear of labels and buttons.
        EXPECT_EQ(w.Skin()->Frame.At(side * 40 / 150, side * 110 / 150), kFace) << dpi;
    }
}

// The title of the placeholder's labels spans skin x 45..134 and y 77..88, edges included;
// the right face button (skin x 110..134, y 67..83) overlaps its top right corner.
TEST_F(ScaledFaceTest, TheScaledTitleIsHitToItsLastPixelAndNotOnePixelBeyond) {
    TfrmMain& w = Open(144);
    // Skin 45 starts at physical 67; skin 134 ends before physical 202.
    Click(201, 128);
    EXPECT_EQ(w.FClockType, ctCountdown);
    Click(202, 128);
    EXPECT_EQ(w.FClockType, ctCountdown);
    Click(67, 128);
    EXPECT_EQ(w.FClockType, ctUpTime);
    Click(66, 128);
    Click(100, 114); // skin row 76, above the top edge
    EXPECT_EQ(w.FClockType, ctUpTime);
    Click(100, 132); // skin row 88, the bottom edge
    EXPECT_EQ(w.FClockType, ctStopwatch);
    Click(100, 133);
    EXPECT_EQ(w.FClockType, ctStopwatch);

    TfrmMain& twice = Open(192);
    Click(269, 172);
    EXPECT_EQ(twice.FClockType, ctCountdown);
    Click(270, 172);
    Click(89, 172);
    EXPECT_EQ(twice.FClockType, ctCountdown);
    twice.FormMouseMove(269, 177);
    EXPECT_TRUE(twice.FTitleHot);
    twice.FormMouseMove(269, 178);
    EXPECT_FALSE(twice.FTitleHot);
}

TEST_F(ScaledFaceTest, TheFaceButtonsAndTheCentreSpotAreHitAtTheirScaledBoxes) {
    TfrmMain& w = Open(192);
    w.SetClockType(ctStopwatch);
    // The left button spans skin x 10..34, y 67..83: physical 20..69, 134..167.
    w.FormMouseMove(19, 150);
    EXPECT_EQ(w.Buttons[0].State, TSknButton::kNormal);
    w.FormMouseMove(20, 150);
    EXPECT_EQ(w.Buttons[0].State, TSknButton::kHover);
    Click(70, 150);
    EXPECT_FALSE(w.StopWatch1.Running());
    Click(69, 167);
    EXPECT_TRUE(w.StopWatch1.Running());
    Click(20, 134);
    EXPECT_FALSE(w.StopWatch1.Running());
    // The centre spot: skin 70..80 around the pivot at (75, 75), physical 140..161.
    Click(161, 140);
    EXPECT_FALSE(w.FDisplayArrows);
    Click(162, 150);
    EXPECT_FALSE(w.FDisplayArrows);
    Click(140, 161);
    EXPECT_TRUE(w.FDisplayArrows);
}

TEST_F(ScaledFaceTest, ButtonsAreDrawnFromTheScaledStripAtTheirScaledPlaces) {
    TfrmMain& w = Open(192);
    w.RenderFrame();
    const Bitmap32& layer = w.Skin()->TextLayer.Bitmap();
    // The left button's background cell: skin x 10..19 at y 67, physical 20..39 at 134, its
    // edges softened where the cell was scaled on its own.
    EXPECT_EQ(layer.At(30, 144), MakePixel(0, 0, 200, 255));
    EXPECT_GT(AlphaOf(layer.At(20, 134)), 0);
    EXPECT_GT(AlphaOf(layer.At(39, 153)), 0);
    EXPECT_EQ(AlphaOf(layer.At(19, 140)), 0);
    EXPECT_EQ(AlphaOf(layer.At(30, 133)), 0);
    EXPECT_EQ(AlphaOf(layer.At(30, 154)), 0);
}

TEST_F(ScaledFaceTest, LabelsAreDrawnInTheirScaledBoxesInFontsAtTheWindowsDpi) {
    Open(96);
    window->RenderFrame();
    const RECT plain = TitleInk();
    Open(192);
    window->RenderFrame();
    const RECT twice = TitleInk();
    // The text keeps its place in the box: centred on the same point, hanging from the top.
    EXPECT_NEAR(twice.left + twice.right, 2 * (plain.left + plain.right), 2);
    EXPECT_EQ(twice.top, 2 * plain.top);
    // Its size is the text's in the font at 192 dots per inch (the fake's glyphs lose their
    // last, half covered column).
    TextFont font = window->Labels[lTitle].Font();
    font.Dpi = 192;
    const TextExtent large = text.MeasureText(font, "Time");
    EXPECT_EQ(RectWidth(twice), large.Width - 1);
    EXPECT_EQ(RectHeight(twice), large.Height);
    EXPECT_EQ(RectHeight(plain), text.MeasureText(window->Labels[lTitle].Font(), "Time").Height);
}

TEST_F(ScaledFaceTest, GoingBackTo100PercentDrawsTheFrameOf100PercentAgain) {
    TfrmMain& w = Open(96);
    w.RenderFrame();
    const Bitmap32 before = w.Skin()->Frame;
    w.SetDisplayScale(DisplayScale(144));
    w.RenderFrame();
    w.SetDisplayScale(DisplayScale(96));
    w.RenderFrame();
    const Bitmap32& after = w.Skin()->Frame;
    ASSERT_EQ(after.Width(), 150);
    EXPECT_TRUE(std::equal(before.Bits(), before.Bits() + 150 * 150, after.Bits()));
}

TEST_F(ScaledFaceTest, AScaleChangeWhileRunningRedrawsAtOnceCentredOnTheSuggestedPlace) {
    TfrmMain& w = Open(96);
    const int frames = host.Frames;
    w.DisplayScaleChanged(DisplayScale(192), {1000, 500, 1300, 800});
    EXPECT_EQ(host.Frames, frames + 1);
    EXPECT_EQ(host.LastSize.cx, 300);
    EXPECT_EQ(host.LastFramePosition.x, 1000);
    EXPECT_EQ(host.Position.y, 500);
    // A suggestion of another size still gets the face's centre.
    w.DisplayScaleChanged(DisplayScale(144), {1000, 500, 1300, 800});
    EXPECT_EQ(host.LastSize.cx, 225);
    EXPECT_EQ(host.Position.x, 1150 - 112);
    EXPECT_EQ(w.FFade.WindowPos().y, 650 - 112);
    // The fade's smallest picture follows the scale: 16 skin pixels.
    w.FFade.SetZoomCenter({0, 0});
    w.FFade.StartFadeOut();
    FadeStep step;
    do {
        step = w.FFade.fadeTimerTimer(w.Skin()->Frame, const_cast<TSkin*>(w.Skin())->ZoomFrame);
    } while (!step.Ended());
    EXPECT_EQ(AlphaOf(w.Skin()->ZoomFrame.At(23, 23)), 255);
    EXPECT_EQ(AlphaOf(w.Skin()->ZoomFrame.At(24, 24)), 0);
}

TEST_F(ScaledFaceTest, AHiddenClockGetsItsFrameForTheNextFadeInButShowsNothing) {
    TfrmMain& w = Open(96);
    host.Visible = false;
    const int frames = host.Frames;
    w.DisplayScaleChanged(DisplayScale(192), {0, 0, 300, 300});
    EXPECT_EQ(host.Frames, frames);
    EXPECT_EQ(w.Skin()->Frame.Width(), 300);
    EXPECT_EQ(w.Skin()->Frame.At(150, 290), kFace);
}

} // namespace
} // namespace norvale
