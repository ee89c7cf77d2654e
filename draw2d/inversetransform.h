#pragma once
#include <cmath>

#include "draw2d/draw2d.h"

// Maps screen offsets from a drawing point back to the unturned, unscaled offsets that the current
// rotation and scale would carry there.
struct TInverseTransform {
    double ix = 1, iy = 0, jx = 0, jy = 1, det = 1;

    void Apply(double sx, double sy, double& x, double& y) const
    {
        x = (jy * sx - iy * sy) / det;
        y = (ix * sy - jx * sx) / det;
    }
};

// False without current graphics and under a scale of 0, which shows nothing.
inline bool CurrentInverseTransform(TInverseTransform& inverse)
{
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    if (!g)
        return false;
    inverse = {g->tform_ix, g->tform_iy, g->tform_jx, g->tform_jy,
               static_cast<double>(g->tform_ix) * g->tform_jy - static_cast<double>(g->tform_iy) * g->tform_jx};
    return inverse.det != 0 && std::isfinite(inverse.det);
}
