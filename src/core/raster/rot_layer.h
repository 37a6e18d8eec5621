#pragma once

#include "core/platform/bitmap32.h"
#include "core/raster/lanczos.h"

#include <array>
#include <optional>

namespace norvale {

struct FloatPoint {
    float X = 0;
    float Y = 0;
};

// An affine transformation as a 3 x 3 matrix acting on column vectors (x, y, 1).
using Matrix3 = std::array<std::array<float, 3>, 3>;

// A bitmap drawn turned about a pivot and placed on a target: each hand of the face, and
// the text layer, which is never turned. Setting the pivot, the position or the angle only
// stores the value; painting builds the transformation from them.
class TRotLayer {
public:
    Bitmap32& Bitmap() { return FBitmap; }
    const Bitmap32& Bitmap() const { return FBitmap; }

    // Pivot inside the bitmap, in pixels (pixel (i, j) is centred on (i, j)).
    FloatPoint BitmapCenter() const { return FBitmapCenter; }
    void SetBitmapCenter(FloatPoint center) { FBitmapCenter = center; }

    // Point of the target where the pivot lands.
    FloatPoint Position() const { return FPosition; }
    void SetPosition(FloatPoint position) { FPosition = position; }

    // Degrees; positive turns counterclockwise on the screen.
    float Angle() const { return FAngle; }
    void SetAngle(float angle) { FAngle = angle; }

    // Target pixels per bitmap pixel: a hand image drawn for another scale than the window's
    // is scaled in the same resampling step that turns it. Below 1 the kernel is widened.
    float Scale() const { return FScale; }
    void SetScale(float scale);

    const Matrix3& Transformation() const { return FTransformation; }

    // Rebuilds the transformation: move the pivot to the origin, scale, turn by Angle, move
    // the origin to Position.
    void AdjustTransformation();

    // Draws the bitmap through the transformation: every target pixel inside the turned
    // bitmap's bounds is mapped back into the bitmap, sampled with the Lanczos-3 kernel and
    // merged onto the target.
    void PaintLayer(Bitmap32& target);

private:
    Bitmap32 FBitmap;
    FloatPoint FBitmapCenter;
    FloatPoint FPosition;
    float FAngle = 0;
    float FScale = 1;
    std::optional<LanczosKernel> FShrinkKernel; // when the scale shrinks the bitmap
    Matrix3 FTransformation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
};

} // namespace norvale
