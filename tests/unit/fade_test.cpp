#include "core/clock/fade.h"
#include "support/fake_layered_window.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr Pixel32 kRed = MakePixel(0, 0, 255, 255);

// One presented step as the tests look at it.
struct Seen {
    int Alpha = 0;
    int Zoom = 0;
    POINT Position;
    int PictureWidth = 0;  // opaque pixels of the top row
    int PictureHeight = 0; // opaque pixels of the left column
    AfterFade Then = AfterFade::Continue;
};

// A 150 x 150 window whose frame is opaque red, so the scaled picture shows as the red part
// of each presented bitmap.
class FadeZoomTest : public ::testing::Test {
protected:
    // Runs steps until the animation ends, at most `limit`, presenting each one.
    std::vector<Seen> Run(int limit = 100) {
        std::vector<Seen> seen;
        while (fade.Enabled() && static_cast<int>(seen.size()) < limit) {
            const FadeStep step = fade.fadeTimerTimer(frame, zoomFrame);
            EXPECT_FALSE(window.Present(step.Present));
            const Bitmap32& shown = window.Presents.back().Picture;
            Seen s{step.Present.ConstantAlpha, fade.Zoom(), step.Present.Position, 0, 0, step.Then};
            while (s.PictureWidth < shown.Width() && shown.At(s.PictureWidth, 0) == kRed) {
                ++s.PictureWidth;
            }
            while (s.PictureHeight < shown.Height() && shown.At(0, s.PictureHeight) == kRed) {
                ++s.PictureHeight;
            }
            EXPECT_EQ(shown.At(shown.Width() - 1, shown.Height() - 1),
                      s.PictureWidth == 150 ? kRed : 0u);
            EXPECT_EQ(window.Presents.back().Size.cx, 150);
            EXPECT_EQ(window.Presents.back().Size.cy, 150);
            seen.push_back(s);
        }
        return seen;
    }

    // A window faded in at rest around (400, 300).
    void FadeInAtRest() {
        fade.SetZoomCenter({400, 300});
        fade.SetRestCenter({400, 300});
        fade.StartStartupFadeIn();
        Run();
        ASSERT_EQ(fade.Alpha(), 255);
        ASSERT_EQ(fade.Zoom(), 255);
    }

    static void ExpectOnlyTheLastEnds(const std::vector<Seen>& seen, AfterFade then) {
        for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
            EXPECT_EQ(seen[i].Then, AfterFade::Continue) << "step " << i + 1;
        }
        EXPECT_EQ(seen.back().Then, then);
    }

    Bitmap32 frame{150, 150, kRed};
    Bitmap32 zoomFrame{150, 150};
    FadeZoom fade;
    testing::FakeLayeredWindow window;
};

TEST_F(FadeZoomTest, TheStartupFadeInTakes37StepsAndStaysCentred) {
    fade.SetZoomCenter({400, 300});
    fade.SetRestCenter({400, 300});
    fade.StartStartupFadeIn();
    const std::vector<Seen> seen = Run();

    ASSERT_EQ(seen.size(), 37u);
    ExpectOnlyTheLastEnds(seen, AfterFade::RenderFrame);
    EXPECT_FALSE(fade.Enabled());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].Alpha, std::min<int>(7 * (i + 1), 255)) << "step " << i + 1;
        // Grows by 3 from 200, so the zoom is full after 19 steps.
        EXPECT_EQ(seen[i].Zoom, std::min<int>(200 + 3 * (i + 1), 255)) << "step " << i + 1;
        EXPECT_EQ(seen[i].Position.x + seen[i].PictureWidth / 2, 400) << "step " << i + 1;
        EXPECT_EQ(seen[i].Position.y + seen[i].PictureHeight / 2, 300) << "step " << i + 1;
    }
    EXPECT_EQ(seen[17].Zoom, 254);
    EXPECT_EQ(seen[18].Zoom, 255);
    // 150 x 203 / 255 = 119.4.
    EXPECT_EQ(seen[0].PictureWidth, 119);
    EXPECT_EQ(seen[0].Position.x, 341);
    EXPECT_EQ(seen.back().PictureWidth, 150);
    EXPECT_EQ(seen.back().Position.x, 325);
    EXPECT_EQ(seen.back().Position.y, 225);
    EXPECT_EQ(fade.WindowPos().x, 325);
}

TEST_F(FadeZoomTest, ShowingFromTheTrayGrowsFromTheClickedPointBackToRest) {
    fade.SetZoomCenter({1000, 700});
    fade.SetRestCenter({400, 300});
    fade.StartFadeIn();
    const std::vector<Seen> seen = Run();

    ASSERT_EQ(seen.size(), 37u);
    ExpectOnlyTheLastEnds(seen, AfterFade::RenderFrame);
    EXPECT_EQ(seen[0].Zoom, 7);
    EXPECT_EQ(seen[35].Zoom, 252);
    // Zoom 7: 150 x 7 / 255 = 4.1 is raised to the 16-pixel floor; the centre is
    // 600 x 248 / 255 + 400 = 983.5 and 400 x 248 / 255 + 300 = 689.0.
    EXPECT_EQ(seen[0].PictureWidth, 16);
    EXPECT_EQ(seen[0].PictureHeight, 16);
    EXPECT_EQ(seen[0].Position.x, 984 - 8);
    EXPECT_EQ(seen[0].Position.y, 689 - 8);
    // Zoom 126: 74.1 pixels wide, centre 600 x 129 / 255 + 400 = 703.5, 400 x 129 / 255 + 300
    // = 502.4.
    EXPECT_EQ(seen[17].Zoom, 126);
    EXPECT_EQ(seen[17].PictureWidth, 74);
    EXPECT_EQ(seen[17].Position.x, 704 - 37);
    EXPECT_EQ(seen[17].Position.y, 502 - 37);
    EXPECT_EQ(seen.back().Position.x, 325);
    EXPECT_EQ(seen.back().Position.y, 225);
}

TEST_F(FadeZoomTest, ClosingFadesBy10AndShrinksInPlaceBy3ThenCloses) {
    FadeInAtRest();
    fade.StartClosingFadeOut();
    const std::vector<Seen> seen = Run();

    ASSERT_EQ(seen.size(), 26u);
    ExpectOnlyTheLastEnds(seen, AfterFade::HideAndClose);
    for (std::size_t i = 0; i < 25; ++i) {
        EXPECT_EQ(seen[i].Alpha, 245 - 10 * static_cast<int>(i)) << "step " << i + 1;
        EXPECT_EQ(seen[i].Position.x + seen[i].PictureWidth / 2, 400) << "step " << i + 1;
    }
    EXPECT_EQ(seen[24].Zoom, 180);
    // The level would go below 0: it and the zoom end at 0, where the picture is 16 x 16.
    EXPECT_EQ(seen[25].Alpha, 0);
    EXPECT_EQ(seen[25].Zoom, 0);
    EXPECT_EQ(seen[25].PictureWidth, 16);
    EXPECT_EQ(seen[25].PictureHeight, 16);
    EXPECT_EQ(seen[25].Position.x, 392);
    EXPECT_EQ(seen[25].Position.y, 292);
}

TEST_F(FadeZoomTest, HidingToTheTrayShrinksTowardsTheClickedPointAndHides) {
    FadeInAtRest();
    fade.SetZoomCenter({1000, 700});
    fade.StartFadeOut();
    const std::vector<Seen> seen = Run();

    ASSERT_EQ(seen.size(), 26u);
    ExpectOnlyTheLastEnds(seen, AfterFade::Hide);
    EXPECT_FALSE(fade.Closing());
    // Zoom 245: 144.1 pixels wide, centre 600 x 10 / 255 + 400 = 423.5.
    EXPECT_EQ(seen[0].Zoom, 245);
    EXPECT_EQ(seen[0].PictureWidth, 144);
    EXPECT_EQ(seen[0].Position.x, 424 - 72);
    EXPECT_EQ(seen[24].Zoom, 5);
    EXPECT_EQ(seen[25].Zoom, 0);
    EXPECT_EQ(seen[25].Position.x, 1000 - 8);
    EXPECT_EQ(seen[25].Position.y, 700 - 8);
}

TEST_F(FadeZoomTest, ANewFadeTurnsAroundFromTheCurrentLevelAndZoom) {
    fade.SetZoomCenter({1000, 700});
    fade.SetRestCenter({400, 300});
    fade.StartFadeIn();
    ASSERT_EQ(Run(10).size(), 10u);
    EXPECT_TRUE(fade.Enabled());
    EXPECT_EQ(fade.Alpha(), 70);

    fade.StartFadeOut();
    const std::vector<Seen> seen = Run();
    // 70 falls by 10 to 10, and the step after that ends at 0.
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[5].Alpha, 10);
    EXPECT_EQ(seen[5].Zoom, 10);
    EXPECT_EQ(seen.back().Then, AfterFade::Hide);

    // Closing jumps to full level first, then fades from there.
    fade.StartClosingFadeOut();
    EXPECT_EQ(Run(1)[0].Alpha, 245);
}

TEST_F(FadeZoomTest, AFadeOutAtLevelZeroEndsAtTheFirstStep) {
    // Hidden again before the start-up fade-in made its first step: level 0, zoom 200.
    fade.StartStartupFadeIn();
    fade.StartFadeOut();
    const std::vector<Seen> seen = Run();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Zoom, 0);
    EXPECT_EQ(seen[0].Then, AfterFade::Hide);
}

TEST_F(FadeZoomTest, ASmallWindowStillShowsTheSixteenPixelPicture) {
    frame = Bitmap32(10, 12, kRed);
    zoomFrame = Bitmap32(10, 12);
    fade.SetZoomCenter({50, 50});
    fade.SetRestCenter({50, 50});
    fade.StartFadeOut();
    const FadeStep step = fade.fadeTimerTimer(frame, zoomFrame);
    // The 16 x 16 picture is larger than the window: the window shows all of it, centred.
    EXPECT_EQ(step.Present.Position.x, 42);
    EXPECT_EQ(step.Present.Size.cx, 10);
    EXPECT_EQ(zoomFrame.At(9, 11), kRed);
}

} // namespace
} // namespace norvale
