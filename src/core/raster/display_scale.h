#pragma once

#include "core/platform/bitmap32.h"

namespace norvale {

// The dots per inch of 100 %: one skin pixel is one screen pixel.
inline constexpr int kSkinDpi = 96;
// The range Windows offers, 100 % to 500 %.
inline constexpr int kMinDpi = kSkinDpi;
inline constexpr int kMaxDpi = 5 * kSkinDpi;

// A window's display scale s = Dpi / 96 and the one mapping between skin coordinates (the
// skin's own pixels, in which the core keeps every box) and the window's physical pixels.
//
// The rounding rule: a physical pixel belongs to the skin pixel its centre falls in. A skin
// edge at x therefore lands on the first physical pixel whose centre lies at or after s x,
// ceil(s x - 1/2), and physical pixel p lies in skin pixel floor((p + 1/2) / s). The two
// directions agree exactly: p is inside the skin span [a, b) exactly when
// ToPhysical(a) <= p < ToPhysical(b). All of it is integer arithmetic, so at 96 dots per inch
// both directions are the identity.
class DisplayScale {
public:
    constexpr DisplayScale() = default;
    // A value outside 96..480 is taken as the nearest end of that range.
    explicit DisplayScale(int dpi);

    int Dpi() const { return FDpi; }
    double Factor() const { return static_cast<double>(FDpi) / kSkinDpi; }
    bool IsUnity() const { return FDpi == kSkinDpi; }

    // The physical edge of the skin edge x.
    int ToPhysical(int skinEdge) const;
    // The skin pixel holding physical pixel p.
    int ToSkin(int physicalPixel) const;
    // The physical size of a span that starts at a skin edge of 0 (a face, an image).
    int Length(int skinLength) const { return ToPhysical(skinLength); }
    RECT ToPhysical(const RECT& skinRect) const;
    // A point where pixel i is centred on i (a hand's pivot): the same place on the physical
    // grid, s x + (s - 1) / 2.
    double PointToPhysical(double skinPoint) const;

    friend bool operator==(DisplayScale a, DisplayScale b) { return a.FDpi == b.FDpi; }

private:
    int FDpi = kSkinDpi;
};

} // namespace norvale
