#include "core/skin/skin_button.h"

#include "core/raster/pixel_ops.h"

namespace norvale {
namespace {

constexpr int kRightButtonIcon = 5;

void DrawCell(Bitmap32& target, const Bitmap32& strip, int cell, int x, int y, DisplayScale scale) {
    const int h = strip.Height();
    MergeDraw(target, scale.ToPhysical(x), scale.ToPhysical(y), strip,
              RECT{cell * h, 0, (cell + 1) * h, h});
}

} // namespace

bool TSknButton::HitTest(int x, int y) const {
    return Left <= x && x <= Left + Width && Top <= y && y <= Top + Height;
}

bool TSknButton::UpdateHover(int x, int y) {
    const bool inside = HitTest(x, y);
    const bool changed = (inside && State != kHover) || (!inside && State == kHover);
    if (!changed) {
        return false;
    }
    State = inside ? kHover : kNormal;
    *FOwnerCursor = State == kHover ? TCursorKind::HandPoint : TCursorKind::Default;
    return true;
}

bool TSknButton::PressAt(int x, int y) {
    const bool inside = HitTest(x, y);
    if (inside) {
        State = kHover | kDown;
    }
    return inside;
}

void TSknButton::DrawTo(Bitmap32& target, DisplayScale scale) const {
    if (!Glyphs || Glyphs->Height() == 0) {
        return;
    }
    const int background = Icon == kRightButtonIcon ? Left + IconOffset : Left;
    if (State == kHover) {
        DrawCell(target, *Glyphs, 0, background, Top, scale);
    }
    if (State == kNormal) {
        DrawCell(target, *Glyphs, 1, background, Top, scale);
    }
    if ((State & kDown) != 0) {
        DrawCell(target, *Glyphs, 2, background, Top, scale);
    }
    const int iconLeft = Icon == kRightButtonIcon ? background - IconOffset + 2 : Left + IconOffset;
    DrawCell(target, *Glyphs, Icon, iconLeft, Top, scale);
}

} // namespace norvale
