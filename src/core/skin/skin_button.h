#pragma once

#include "core/platform/bitmap32.h"
#include "core/raster/display_scale.h"

#include <cstdint>

namespace norvale {

// AppStarting: the arrow with an hourglass, for work going on in the background.
enum class TCursorKind { Default, HandPoint, AppStarting };

// The face button: a hot zone on the face that lights up under the mouse, looks pressed
// while held and shows an icon, drawn every frame from the skin's cell strip (cells of the
// strip's height: 0 hover, 1 normal, 2 pressed background; 3 start, 4 pause, 5 the right
// button's icon).
class TSknButton {
public:
    // Bit values of State; the states that occur are normal, hover and hover + down.
    static constexpr std::uint8_t kNormal = 1;
    static constexpr std::uint8_t kHover = 2;
    static constexpr std::uint8_t kDown = 4;

    // The owner's cursor follows the hover state.
    TSknButton(int left, int top, int width, int height, TCursorKind& ownerCursor)
        : Left(left), Top(top), Width(width), Height(height), FOwnerCursor(&ownerCursor) {}

    int Left;
    int Top;
    int Width;
    int Height;
    int IconOffset = 14;
    std::uint8_t State = kNormal;
    const Bitmap32* Glyphs = nullptr; // the skin's cell strip, not owned
    int Icon = 0;

    // Inside the box, all four edges included (the box and points in skin pixels).
    bool HitTest(int x, int y) const;
    // Follows the mouse; true when the state changed (and a frame is due).
    bool UpdateHover(int x, int y);
    // Enters the pressed look when the point is inside; returns HitTest.
    bool PressAt(int x, int y);
    // Merges the background and icon cells of the strip (drawn for the scale) onto the
    // target, at the places the scale maps the skin's to.
    void DrawTo(Bitmap32& target, DisplayScale scale) const;

private:
    TCursorKind* FOwnerCursor;
};

} // namespace norvale
