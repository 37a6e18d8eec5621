#include "core/raster/display_scale.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(DisplayScale, AtOneHundredPercentBothDirectionsAreTheIdentity) {
    const DisplayScale unity;
    EXPECT_TRUE(unity.IsUnity());
    for (int v = -300; v <= 300; ++v) {
        ASSERT_EQ(unity.ToPhysical(v), v);
        ASSERT_EQ(unity.ToSkin(v), v);
    }
    EXPECT_EQ(unity.PointToPhysical(42.3), 42.3);
    EXPECT_EQ(unity.PointToPhysical(-0.7), -0.7);
}

TEST(DisplayScale, FacesTakeTheSizesOfTheCommonScales) {
    EXPECT_EQ(DisplayScale(120).Length(150), 187); // 187.5: the half goes down
    EXPECT_EQ(DisplayScale(144).Length(150), 225);
    EXPECT_EQ(DisplayScale(192).Length(150), 300);
    EXPECT_EQ(DisplayScale(288).Length(150), 450);
    EXPECT_EQ(DisplayScale(144).Length(7), 10); // 10.5
    EXPECT_EQ(DisplayScale(144).ToPhysical(-7), -11);
}

// The rule in both directions: a physical pixel lies in a skin span exactly when it lies
// between the span's mapped edges, for every scale Windows offers and negative places too.
TEST(DisplayScale, PixelsAndEdgesAgreeAtEveryScale) {
    for (int dpi = kMinDpi; dpi <= kMaxDpi; dpi += 8) {
        const DisplayScale scale(dpi);
        for (int a = -20; a <= 20; ++a) {
            const int b = a + 3;
            for (int p = scale.ToPhysical(a) - 4; p <= scale.ToPhysical(b) + 4; ++p) {
                const int skin = scale.ToSkin(p);
                const bool inSpan = a <= skin && skin < b;
                const bool between = scale.ToPhysical(a) <= p && p < scale.ToPhysical(b);
                ASSERT_EQ(inSpan, between) << "dpi " << dpi << ", span " << a << ", pixel " << p;
            }
        }
    }
}

TEST(DisplayScale, APhysicalPixelBelongsToTheSkinPixelUnderItsCentre) {
    const DisplayScale half(144); // 1.5
    // Physical pixel 2 is centred on 2.5, which is skin 1.67: skin pixel 1.
    EXPECT_EQ(half.ToSkin(2), 1);
    EXPECT_EQ(half.ToSkin(1), 1); // centre 1.5 -> skin 1.0: on the edge, inside pixel 1
    EXPECT_EQ(half.ToSkin(0), 0);
    EXPECT_EQ(half.ToSkin(-1), -1);
    EXPECT_EQ(half.ToSkin(-2), -1); // centre -1.5 -> skin -1.0
    EXPECT_EQ(half.ToSkin(-3), -2);
}

TEST(DisplayScale, PointsKeepTheirPlaceOnThePixelGrid) {
    // Pixel i is centred on i: skin 0 spans physical 0 and 1 at 200 %, centre 0.5.
    EXPECT_DOUBLE_EQ(DisplayScale(192).PointToPhysical(0), 0.5);
    EXPECT_DOUBLE_EQ(DisplayScale(192).PointToPhysical(75), 150.5);
    EXPECT_DOUBLE_EQ(DisplayScale(144).PointToPhysical(-0.5), -0.5); // the left edge stays
}

TEST(DisplayScale, DotsPerInchOutsideWindowsRangeAreHeldToIt) {
    EXPECT_EQ(DisplayScale(0).Dpi(), 96);
    EXPECT_EQ(DisplayScale(-192).Dpi(), 96);
    EXPECT_EQ(DisplayScale(72).Dpi(), 96);
    EXPECT_EQ(DisplayScale(960).Dpi(), 480);
    EXPECT_EQ(DisplayScale(120).Dpi(), 120);
}

} // namespace
} // namespace norvale
