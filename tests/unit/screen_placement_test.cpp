#include "core/shell/screen_placement.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

// The primary monitor, 1920 x 1080 with the taskbar at the bottom.
constexpr RECT kPrimary{0, 0, 1920, 1040};
// A second monitor left of the primary, so at negative coordinates.
constexpr RECT kLeft{-1280, 56, 0, 1080};

RECT Face(int left, int top, int side = 150) {
    return {left, top, left + side, top + side};
}

void ExpectAt(POINT p, int x, int y) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(KeepOnScreen, APlaceOnAScreenIsNeverMoved) {
    ExpectAt(KeepOnScreen(Face(100, 200), {kPrimary}), 100, 200);
    ExpectAt(KeepOnScreen(Face(-600, 400), {kPrimary, kLeft}), -600, 400);
    // Across the edge between two monitors, wholly visible.
    ExpectAt(KeepOnScreen(Face(-75, 500), {kPrimary, kLeft}), -75, 500);
    // Exactly half off the right edge still counts as on screen.
    ExpectAt(KeepOnScreen(Face(1845, 300), {kPrimary}), 1845, 300);
    // No monitors reported: nothing to go by.
    ExpectAt(KeepOnScreen(Face(9000, 9000), {}), 9000, 9000);
}

TEST(KeepOnScreen, LessThanHalfOnScreenMovesJustInsideTheNearestWorkArea) {
    ExpectAt(KeepOnScreen(Face(1846, 300), {kPrimary}), 1770, 300);
    // Far beyond the right edge (a stored place from a wider screen).
    ExpectAt(KeepOnScreen(Face(3000, 400), {kPrimary}), 1770, 400);
    // Below the work area, into the taskbar.
    ExpectAt(KeepOnScreen(Face(500, 1000), {kPrimary}), 500, 890);
    // Off the top-left corner of everything.
    ExpectAt(KeepOnScreen(Face(-5000, -400), {kPrimary, kLeft}), -1280, 56);
}

TEST(KeepOnScreen, TheNearestMonitorTakesTheFaceAlsoAtNegativeCoordinates) {
    // Beyond the left monitor's left edge: it comes back on that monitor, not the primary.
    ExpectAt(KeepOnScreen(Face(-1400, 300), {kPrimary, kLeft}), -1280, 300);
    // Above the left monitor, whose work area starts lower than the primary's.
    ExpectAt(KeepOnScreen(Face(-700, -100), {kPrimary, kLeft}), -700, 56);
}

TEST(KeepOnScreen, ATaskbarOnTheLeftOrTopKeepsTheFaceOffIt) {
    const RECT taskbarLeft{62, 0, 1920, 1080};
    ExpectAt(KeepOnScreen(Face(-120, 40), {taskbarLeft}), 62, 40);
    const RECT taskbarTop{0, 48, 1920, 1080};
    ExpectAt(KeepOnScreen(Face(300, -100), {taskbarTop}), 300, 48);
    // Mostly on the work area though over the taskbar's edge: left as it is.
    ExpectAt(KeepOnScreen(Face(0, 0), {taskbarLeft}), 0, 0);
}

TEST(KeepOnScreen, AFaceOnAMonitorThatWentAwayKeepsItsDistanceFromTheNearerEdges) {
    // On the left monitor, 550 from its right edge and 180 above its bottom.
    const RECT face = Face(-700, 750);
    ExpectAt(KeepOnScreen(face, {kPrimary}, {kPrimary, kLeft}), 1920 - 550 - 150, 1040 - 180 - 150);
    // Near the left monitor's top-left corner: the same distances from the primary's.
    ExpectAt(KeepOnScreen(Face(-1260, 70), {kPrimary}, {kPrimary, kLeft}), 20, 14);
}

TEST(KeepOnScreen, AScreenThatShrankKeepsTheDistanceFromItsRightEdge) {
    const RECT wide{0, 0, 3200, 1040};
    const RECT narrow{0, 0, 1280, 984};
    ExpectAt(KeepOnScreen(Face(3000, 100), {narrow}, {wide}), 1280 - 50 - 150, 100);
    // A distance the smaller screen cannot keep is kept as far as it can be.
    const RECT tiny{0, 0, 180, 480};
    ExpectAt(KeepOnScreen(Face(3000, 100), {tiny}, {wide}), 0, 100);
}

TEST(KeepOnScreen, AFaceLargerThanTheWorkAreaShowsItsTopLeft) {
    const RECT small{100, 50, 300, 250};
    ExpectAt(KeepOnScreen(Face(900, 900, 450), {small}), 100, 50);
}

TEST(KeepOnScreen, MirroredMonitorsAreCountedOnce) {
    // Two monitors at the same place, as Xvfb lays out its screens: a third of the face on
    // them is not on screen, however many monitors show that third.
    const RECT mirror{0, 0, 1280, 1024};
    ExpectAt(KeepOnScreen(Face(1230, 100), {mirror, mirror}), 1130, 100);
}

TEST(FitOnScreen, ADialogComesWhollyInsideItsMonitorsWorkAreaMovingNoFurther) {
    // Half beyond the bottom right: just inside the corner.
    const RECT dialog{1800, 950, 2440, 1430};
    ExpectAt(FitOnScreen(dialog, {kPrimary, kLeft}), 1920 - 640, 1040 - 480);
    // Wholly inside already: it stays, on either monitor.
    ExpectAt(FitOnScreen({-900, 100, -260, 580}, {kPrimary, kLeft}), -900, 100);
    ExpectAt(FitOnScreen({10, 20, 650, 500}, {kPrimary, kLeft}), 10, 20);
    // Just over the left monitor's top (its work area starts at 56).
    ExpectAt(FitOnScreen({-900, 30, -260, 510}, {kPrimary, kLeft}), -900, 56);
    // Larger than the work area: its top-left part shows.
    ExpectAt(FitOnScreen({500, 500, 2600, 1700}, {kPrimary}), 0, 0);
    ExpectAt(FitOnScreen(dialog, {}), 1800, 950);
}

} // namespace
} // namespace norvale
