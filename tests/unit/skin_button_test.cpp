#include "core/skin/skin_button.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

// A strip of six 10 x 10 cells, each cell one opaque colour whose red channel is its index.
Bitmap32 Strip() {
    Bitmap32 strip(60, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 60; ++x) {
            strip.At(x, y) = MakePixel(0, 0, static_cast<std::uint32_t>(x / 10), 255);
        }
    }
    return strip;
}

// The cell drawn at each x of the row y = 70, or -1 where nothing was drawn.
std::vector<int> CellsAlongRow(const Bitmap32& target) {
    std::vector<int> cells;
    for (int x = 0; x < target.Width(); ++x) {
        const Pixel32 p = target.At(x, 70);
        cells.push_back(AlphaOf(p) == 0 ? -1 : RedOf(p));
    }
    return cells;
}

class SkinButtonTest : public ::testing::Test {
protected:
    TCursorKind cursor = TCursorKind::Default;
    TSknButton left{10, 67, 24, 16, cursor};
    TSknButton right{110, 67, 24, 16, cursor};
    Bitmap32 strip = Strip();
};

TEST_F(SkinButtonTest, TheBoxIncludesAllFourEdges) {
    EXPECT_TRUE(left.HitTest(10, 67));
    EXPECT_TRUE(left.HitTest(34, 83)); // x = Left + Width, y = Top + Height
    EXPECT_FALSE(left.HitTest(35, 83));
    EXPECT_FALSE(left.HitTest(34, 84));
    EXPECT_FALSE(left.HitTest(9, 70));
    EXPECT_FALSE(left.HitTest(20, 66));
}

TEST_F(SkinButtonTest, HoverFollowsTheMouseAndSetsTheCursor) {
    EXPECT_TRUE(left.UpdateHover(20, 70));
    EXPECT_EQ(left.State, TSknButton::kHover);
    EXPECT_EQ(cursor, TCursorKind::HandPoint);
    EXPECT_FALSE(left.UpdateHover(21, 71)); // no change, no frame
    EXPECT_TRUE(left.UpdateHover(100, 10));
    EXPECT_EQ(left.State, TSknButton::kNormal);
    EXPECT_EQ(cursor, TCursorKind::Default);
    EXPECT_FALSE(left.UpdateHover(101, 10));
}

TEST_F(SkinButtonTest, APressedButtonStaysPressedOutsideAndTurnsHoverInside) {
    EXPECT_FALSE(left.PressAt(5, 5));
    EXPECT_EQ(left.State, TSknButton::kNormal);
    EXPECT_TRUE(left.PressAt(20, 70));
    EXPECT_EQ(left.State, TSknButton::kHover | TSknButton::kDown);
    EXPECT_FALSE(left.UpdateHover(100, 10)); // leaving keeps the pressed look
    EXPECT_EQ(left.State, TSknButton::kHover | TSknButton::kDown);
    EXPECT_TRUE(left.UpdateHover(20, 70)); // back inside: plain hover
    EXPECT_EQ(left.State, TSknButton::kHover);
}

TEST_F(SkinButtonTest, TheLeftButtonDrawsItsBackgroundThenItsIconFourteenToTheRight) {
    Bitmap32 target(150, 150);
    left.Glyphs = &strip;
    left.Icon = 3;
    left.DrawTo(target, DisplayScale());
    const std::vector<int> cells = CellsAlongRow(target);
    for (int x = 0; x < 150; ++x) {
        const int expected = x >= 10 && x <= 19 ? 1 : x >= 24 && x <= 33 ? 3 : -1;
        ASSERT_EQ(cells[static_cast<std::size_t>(x)], expected) << "x = " << x;
    }
    EXPECT_EQ(AlphaOf(target.At(15, 66)), 0); // cells hang from Top
    EXPECT_EQ(AlphaOf(target.At(15, 76)), 255);
    EXPECT_EQ(AlphaOf(target.At(15, 77)), 0);
}

TEST_F(SkinButtonTest, TheRightButtonDrawsItsIconFirstAndItsBackgroundFourteenToTheRight) {
    Bitmap32 target(150, 150);
    right.Glyphs = &strip;
    right.Icon = 5;
    right.State = TSknButton::kHover;
    right.DrawTo(target, DisplayScale());
    const std::vector<int> cells = CellsAlongRow(target);
    EXPECT_EQ(cells[111], -1);
    EXPECT_EQ(cells[112], 5);
    EXPECT_EQ(cells[121], 5);
    EXPECT_EQ(cells[123], -1);
    EXPECT_EQ(cells[124], 0); // the hover background
    EXPECT_EQ(cells[133], 0);
    EXPECT_EQ(cells[134], -1);
}

TEST_F(SkinButtonTest, APressedButtonDrawsThePressedCell) {
    Bitmap32 target(150, 150);
    left.Glyphs = &strip;
    left.Icon = 4;
    left.PressAt(20, 70);
    left.DrawTo(target, DisplayScale());
    EXPECT_EQ(CellsAlongRow(target)[15], 2);
    EXPECT_EQ(CellsAlongRow(target)[30], 4);
}

TEST_F(SkinButtonTest, ANarrowStripOrNoStripDrawsWhatIsThere) {
    Bitmap32 target(150, 150);
    left.DrawTo(target, DisplayScale()); // no glyphs yet: nothing
    EXPECT_EQ(CellsAlongRow(target)[15], -1);
    Bitmap32 narrow(30, 10); // three cells: the icon cell 4 lies beyond the strip
    narrow.Clear(MakePixel(0, 0, 9, 255));
    left.Glyphs = &narrow;
    left.Icon = 4;
    left.DrawTo(target, DisplayScale());
    EXPECT_EQ(CellsAlongRow(target)[15], 9);
    EXPECT_EQ(CellsAlongRow(target)[30], -1);
}

} // namespace
} // namespace norvale
