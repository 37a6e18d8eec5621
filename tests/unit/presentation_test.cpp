#include "core/clock/presentation.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr BLENDFUNCTION kFullLevel{kAcSrcOver, 0, 255, kAcSrcAlpha};

// A 4 x 4 skin: an opaque red face; a half-covering green text-layer pixel at (1, 1); a 2 x 2
// digital glass whose bottom-right quarter is a quarter-covering blue; a 1 x 1 white glass
// of alpha 51. Colours are premultiplied.
std::unique_ptr<TSkin> LayeredSkin() {
    auto skin = std::make_unique<TSkin>();
    skin->FaceBitmap = Bitmap32(4, 4, MakePixel(0, 0, 255, 255));
    skin->TextLayer.Bitmap().SetSize(4, 4);
    skin->TextLayer.Bitmap().At(1, 1) = MakePixel(0, 128, 0, 128);
    skin->DigitalGlass = Bitmap32(2, 2);
    skin->DigitalGlass->At(1, 1) = MakePixel(64, 0, 0, 64);
    skin->Glass = Bitmap32(1, 1, MakePixel(51, 51, 51, 51));
    skin->Frame = Bitmap32(4, 4, MakePixel(9, 9, 9, 9));
    return skin;
}

TEST(ComposeFrameTest, LaysFaceTextDigitalGlassAndGlassBottomToTop) {
    auto skin = LayeredSkin();
    // The text layer covers (1, 1) only; the digital glass (2 x 2 stretched to 4 x 4) covers
    // (2..3, 2..3); the glass covers everything.
    skin->TextLayer.Bitmap().At(3, 3) = MakePixel(0, 128, 0, 128);
    ComposeFrame(*skin, kFullLevel);
    const Bitmap32& frame = skin->Frame;

    // Face, then glass: 51 + 0 x 204 / 255, 51 + 0, 51 + 255 x 204 / 255 = 255.
    EXPECT_EQ(frame.At(0, 0), MakePixel(51, 51, 255, 255));
    // Face, text (red 255 x 127 / 255 = 127 left, green 128), glass: 51 + 0, 51 + 128 x 0.8 =
    // 153.4, 51 + 127 x 0.8 = 152.6.
    EXPECT_EQ(frame.At(1, 1), MakePixel(51, 153, 153, 255));
    // Face, digital glass (blue 64, red 255 x 191 / 255 = 191), glass: 51 + 64 x 0.8 = 102.2,
    // 51, 51 + 191 x 0.8 = 203.8.
    EXPECT_EQ(frame.At(2, 2), MakePixel(102, 51, 204, 255));
    // All four: text (0, 128, 127), digital glass (64, 128 x 191 / 255 = 95.9,
    // 127 x 191 / 255 = 95.1), glass (51 + 51.2, 51 + 76.8, 51 + 76).
    EXPECT_EQ(frame.At(3, 3), MakePixel(102, 128, 127, 255));
}

TEST(ComposeFrameTest, ASkinWithoutDigitalGlassLeavesThatLayerOut) {
    auto skin = LayeredSkin();
    skin->DigitalGlass.reset();
    ComposeFrame(*skin, kFullLevel);
    EXPECT_EQ(skin->Frame.At(2, 2), MakePixel(51, 51, 255, 255));
    EXPECT_EQ(skin->Frame.At(1, 1), MakePixel(51, 153, 153, 255));
}

TEST(ComposeFrameTest, TheFadeLevelScalesEveryLayer) {
    auto skin = LayeredSkin();
    skin->Glass = Bitmap32(1, 1);
    skin->DigitalGlass.reset();
    ComposeFrame(*skin, {kAcSrcOver, 0, 128, kAcSrcAlpha});
    // The face alone at 128: 255 x 128 / 255 = 128 in red and alpha; the old frame is gone.
    EXPECT_EQ(skin->Frame.At(0, 0), MakePixel(0, 0, 128, 128));
    // Text at 128: green and alpha 64 over the scaled face: red 128 x 191 / 255 = 95.9,
    // alpha 64 + 95.9.
    EXPECT_EQ(skin->Frame.At(1, 1), MakePixel(0, 64, 96, 160));
}

TEST(FrameRequestTest, ShowsTheWholeFrameAtTheWindowsCornerAndLevel) {
    const Bitmap32 frame(150, 120);
    const PresentRequest request = FrameRequest(frame, {-20, 35}, 77);
    EXPECT_EQ(request.Bitmap, &frame);
    EXPECT_EQ(request.Position.x, -20);
    EXPECT_EQ(request.Position.y, 35);
    EXPECT_EQ(request.Size.cx, 150);
    EXPECT_EQ(request.Size.cy, 120);
    EXPECT_EQ(request.ConstantAlpha, 77);
}

} // namespace
} // namespace norvale
