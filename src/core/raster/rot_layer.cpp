#include "core/raster/rot_layer.h"

#include "core/raster/lanczos.h"
#include "core/raster/pixel_ops.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace norvale {
namespace {

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 m{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                m[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return m;
}

// Narrows [first, last] to the x where lo <= c + a x <= hi.
void ClipSpan(double c, double a, double lo, double hi, double& first, double& last) {
    if (a == 0) {
        if (c < lo || c > hi) {
            last = first - 1;
        }
        return;
    }
    const double x0 = (lo - c) / a;
    const double x1 = (hi - c) / a;
    first = std::max(first, std::min(x0, x1));
    last = std::min(last, std::max(x0, x1));
}

Matrix3 Translation(float dx, float dy) {
    return {{{1, 0, dx}, {0, 1, dy}, {0, 0, 1}}};
}

} // namespace

void TRotLayer::SetScale(float scale) {
    FScale = scale;
    FShrinkKernel.reset();
    if (scale < 1) {
        FShrinkKernel.emplace(1.0 / scale);
    }
}

void TRotLayer::AdjustTransformation() {
    const float alpha = static_cast<float>(FAngle * std::numbers::pi / 180);
    const float c = std::cos(alpha);
    const float s = std::sin(alpha);
    // (x, y) -> (x cos a + y sin a, -x sin a + y cos a): counterclockwise with y down.
    const Matrix3 rotation{{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
    const Matrix3 scaling{{{FScale, 0, 0}, {0, FScale, 0}, {0, 0, 1}}};
    FTransformation = Translation(-FBitmapCenter.X, -FBitmapCenter.Y);
    FTransformation = Multiply(scaling, FTransformation);
    FTransformation = Multiply(rotation, FTransformation);
    FTransformation = Multiply(Translation(FPosition.X, FPosition.Y), FTransformation);
}

void TRotLayer::PaintLayer(Bitmap32& target) {
    AdjustTransformation();
    const int w = FBitmap.Width();
    const int h = FBitmap.Height();
    const Matrix3& m = FTransformation;
    const double det =
        static_cast<double>(m[0][0]) * m[1][1] - static_cast<double>(m[0][1]) * m[1][0];
    if (w == 0 || h == 0 || det == 0) {
        return;
    }
    // The bitmap covers [-0.5, w - 0.5] x [-0.5, h - 0.5]; its turned corners bound the
    // target pixels that can receive anything.
    const double cornersX[4] = {-0.5, w - 0.5, -0.5, w - 0.5};
    const double cornersY[4] = {-0.5, -0.5, h - 0.5, h - 0.5};
    double minX = 1e30, maxX = -1e30, minY = 1e30, maxY = -1e30;
    for (int i = 0; i < 4; ++i) {
        const double x = m[0][0] * cornersX[i] + m[0][1] * cornersY[i] + m[0][2];
        const double y = m[1][0] * cornersX[i] + m[1][1] * cornersY[i] + m[1][2];
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int left = std::max(0, static_cast<int>(std::ceil(minX)));
    const int right = std::min(target.Width() - 1, static_cast<int>(std::floor(maxX)));
    const int top = std::max(0, static_cast<int>(std::ceil(minY)));
    const int bottom = std::min(target.Height() - 1, static_cast<int>(std::floor(maxY)));

    // The inverse maps a target pixel back into the bitmap.
    const double ia = m[1][1] / det;
    const double ib = -m[0][1] / det;
    const double ic = -m[1][0] / det;
    const double id = m[0][0] / det;
    const LanczosSampler sampler(FBitmap,
                                 FShrinkKernel ? *FShrinkKernel : LanczosKernel::Interpolating());
    const double tx = m[0][2];
    const double ty = m[1][2];
    for (int y = top; y <= bottom; ++y) {
        // Only the run of this row that maps into the bitmap is visited.
        const double cu = ib * (y - ty) - ia * tx;
        const double cv = id * (y - ty) - ic * tx;
        double first = left;
        double last = right;
        ClipSpan(cu, ia, -0.5, w - 0.5, first, last);
        ClipSpan(cv, ic, -0.5, h - 0.5, first, last);
        Pixel32* row = target.Row(y);
        for (int x = static_cast<int>(std::ceil(first)); x <= last; ++x) {
            const double u = cu + ia * x;
            const double v = cv + ic * x;
            if (u < -0.5 || u >= w - 0.5 || v < -0.5 || v >= h - 0.5) {
                continue;
            }
            const Pixel32 sample = sampler.Sample(u, v);
            if (sample != 0) {
                row[x] = MergePixel(sample, row[x]);
            }
        }
    }
}

} // namespace norvale
