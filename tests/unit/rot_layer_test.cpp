#include "core/raster/rot_layer.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr Pixel32 kTip = 0xFFFF0000;   // opaque red
constexpr Pixel32 kShaft = 0xFF00FF00; // opaque green

// A hand 5 pixels wide and 41 high pointing at 12 o'clock, its pivot at the bottom centre,
// placed at (50, 50); one red pixel at the tip.
TRotLayer MakeHand(float angle) {
    TRotLayer hand;
    hand.Bitmap().SetSize(5, 41);
    for (int y = 0; y < 41; ++y) {
        hand.Bitmap().At(2, y) = y == 0 ? kTip : kShaft;
    }
    hand.SetBitmapCenter({2, 40});
    hand.SetPosition({50, 50});
    hand.SetAngle(angle);
    return hand;
}

TEST(TRotLayer, SettingValuesOnlyStoresThem) {
    TRotLayer hand = MakeHand(0);
    hand.SetAngle(30);
    const Matrix3 before = hand.Transformation();
    EXPECT_EQ(before[0][2], 0);
    hand.AdjustTransformation();
    const Matrix3& m = hand.Transformation();
    // The pivot lands on the position.
    EXPECT_NEAR(m[0][0] * 2 + m[0][1] * 40 + m[0][2], 50, 1e-4);
    EXPECT_NEAR(m[1][0] * 2 + m[1][1] * 40 + m[1][2], 50, 1e-4);
}

TEST(TRotLayer, AngleZeroCopiesTheBitmapExactly) {
    TRotLayer hand = MakeHand(0);
    hand.Bitmap().At(1, 5) = MakePixel(10, 20, 30, 40);
    Bitmap32 target(100, 100);
    hand.PaintLayer(target);
    for (int y = 0; y < 41; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(target.At(48 + x, 10 + y), hand.Bitmap().At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(target.At(50, 51), 0u);
    EXPECT_EQ(target.At(50, 9), 0u);
}

TEST(TRotLayer, MinusNinetyPointsToThreeAndNinetyToNine) {
    Bitmap32 three(100, 100);
    MakeHand(-90).PaintLayer(three);
    EXPECT_EQ(three.At(90, 50), kTip);
    EXPECT_EQ(three.At(70, 50), kShaft);
    EXPECT_EQ(three.At(10, 50), 0u);
    EXPECT_EQ(three.At(50, 10), 0u);

    Bitmap32 nine(100, 100);
    MakeHand(90).PaintLayer(nine);
    EXPECT_EQ(nine.At(10, 50), kTip);
    EXPECT_EQ(nine.At(30, 50), kShaft);
    EXPECT_EQ(nine.At(90, 50), 0u);
}

// The sum of the alpha of a painted target, whose pixels must all be premultiplied and clear
// outside the box (right and bottom inclusive).
double CoverageWithin(const Bitmap32& target, const RECT& box) {
    double coverage = 0;
    for (int y = 0; y < target.Height(); ++y) {
        for (int x = 0; x < target.Width(); ++x) {
            const Pixel32 p = target.At(x, y);
            EXPECT_LE(std::max({RedOf(p), GreenOf(p), BlueOf(p)}), AlphaOf(p));
            coverage += AlphaOf(p);
            if (x < box.left || x > box.right || y < box.top || y > box.bottom) {
                EXPECT_EQ(p, 0u) << x << "," << y;
            }
        }
    }
    return coverage;
}

// A hand of one colour all over, w x h, turning about `pivot` placed at `position`.
TRotLayer SolidHand(int w, int h, Pixel32 colour, FloatPoint pivot, FloatPoint position,
                    float angle) {
    TRotLayer hand;
    hand.Bitmap() = Bitmap32(w, h, colour);
    hand.SetBitmapCenter(pivot);
    hand.SetPosition(position);
    hand.SetAngle(angle);
    return hand;
}

TEST(TRotLayer, TurnedHandStaysPremultipliedKeepsItsCoverageAndItsBounds) {
    TRotLayer hand = SolidHand(10, 90, MakePixel(40, 80, 120, 160), {4.5f, 80}, {100, 100}, 37);
    Bitmap32 target(200, 200);
    hand.PaintLayer(target);
    // Turned by 37 degrees the hand stays within x 40..110 and y 20..110.
    EXPECT_NEAR(CoverageWithin(target, {40, 20, 110, 110}) / 160, 900, 45);
}

TEST(TRotLayer, MergesOntoWhatIsThere) {
    TRotLayer hand = MakeHand(0);
    hand.Bitmap().At(2, 20) = MakePixel(0, 0, 128, 128);
    Bitmap32 target(100, 100, MakePixel(255, 0, 0, 255));
    hand.PaintLayer(target);
    // Merged as stored (premultiplied): red 128 * 128 / 255 = 64, blue 255 * 127 / 255.
    EXPECT_EQ(target.At(50, 30), MakePixel(127, 0, 64, 255));
    EXPECT_EQ(target.At(49, 30), MakePixel(255, 0, 0, 255));
}

// A hand drawn at twice the size (as a @2x image) and scaled by one half covers what the
// plain hand covers, turned in the same step.
TEST(TRotLayer, AScaleResizesTheHandInTheSameStepAsTheTurn) {
    // Pivot (2, 40) on the plain grid lies at 2 * 2 + 0.5 on the doubled one.
    TRotLayer large = SolidHand(10, 82, MakePixel(0, 200, 0, 200), {4.5f, 80.5f}, {50, 50}, -90);
    large.SetScale(0.5f);
    Bitmap32 target(100, 100);
    large.PaintLayer(target);
    // Pointing at three: from the pivot to 41 pixels right, 5 pixels high.
    EXPECT_NEAR(CoverageWithin(target, {47, 45, 93, 55}) / 200, 5 * 41, 8);
    // Inside the shaft, two and a half pixels from its edges, the colour is nearly whole.
    EXPECT_NEAR(AlphaOf(target.At(70, 50)), 200, 3);
    EXPECT_NEAR(GreenOf(target.At(70, 50)), 200, 3);
    // Grown instead: twice as long.
    TRotLayer plain = MakeHand(0);
    plain.SetScale(2);
    Bitmap32 grown(120, 120);
    plain.SetPosition({60, 110});
    plain.PaintLayer(grown);
    EXPECT_EQ(AlphaOf(grown.At(60, 100)), 255);
    EXPECT_EQ(AlphaOf(grown.At(60, 40)), 255);
    EXPECT_EQ(grown.At(60, 26), 0u); // beyond the tip, 82 pixels above the pivot
}

} // namespace
} // namespace norvale
