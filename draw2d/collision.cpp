#include "draw2d/collision.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "draw2d/image.h"
#include "draw2d/inversetransform.h"
#include "draw2d/pixmap.h"

namespace {

// Overlaps thinner than this, in picture pixels, are rounding of the turned matrix, not contact.
constexpr double EdgeTolerance = 1.0 / 1024;

struct TVec {
    double x = 0, y = 0;
};

TVec operator+(TVec a, TVec b) { return {a.x + b.x, a.y + b.y}; }
TVec operator-(TVec a, TVec b) { return {a.x - b.x, a.y - b.y}; }
double Dot(TVec a, TVec b) { return a.x * b.x + a.y * b.y; }
bool Finite(TVec a) { return std::isfinite(a.x) && std::isfinite(a.y); }

// Which pixels of one frame count for collisions.
struct TOpaqueMask {
    int width = 0, height = 0;
    std::vector<uint8_t> opaque;

    bool At(int u, int v) const { return u >= 0 && v >= 0 && u < width && v < height && opaque[v * width + u]; }
};

TOpaqueMask MaskOf(const TImage& image, int frame)
{
    if (frame < 0 || static_cast<size_t>(frame) >= image.pixmaps.size() || !image.pixmaps[frame])
        return {};
    TPixmap& pixmap = *image.pixmaps[frame];
    TOpaqueMask mask{std::min(image.width, pixmap.width), std::min(image.height, pixmap.height), {}};
    mask.width = std::max(mask.width, 0);
    mask.height = std::max(mask.height, 0);
    mask.opaque.resize(static_cast<size_t>(mask.width) * mask.height);
    for (int v = 0; v < mask.height; ++v)
        for (int u = 0; u < mask.width; ++u)
            mask.opaque[v * mask.width + u] = (pixmap.ReadPixel(u, v) >> 24) != 0;
    return mask;
}

// Screen offsets back into picture pixels.
TVec Unturn(const TInverseTransform& inverse, TVec s)
{
    TVec out;
    inverse.Apply(s.x, s.y, out.x, out.y);
    return out;
}

// Whether the unit spans [a, a + 1) and [b, b + 1) share more than an edge.
bool SpansOverlap(double a, double b) { return b < a + 1 - EdgeTolerance && b + 1 > a + EdgeTolerance; }

// Pixel indices first..last of a run of count pixels that can reach [lo, hi]; empty when first > last.
void PixelRange(double lo, double hi, int count, int& first, int& last)
{
    const double f = std::max(0.0, std::floor(lo) - 1), l = std::min(count - 1.0, std::ceil(hi) + 1);
    first = f > l ? 1 : static_cast<int>(f);
    last = f > l ? 0 : static_cast<int>(l);
}

} // namespace

int ImagesCollide(const std::shared_ptr<TImage>& image1, float x1, float y1, int frame1,
                  const std::shared_ptr<TImage>& image2, float x2, float y2, int frame2)
{
    TInverseTransform inverse;
    if (!image1 || !image2 || !CurrentInverseTransform(inverse))
        return 0;
    const TOpaqueMask a = MaskOf(*image1, frame1), b = MaskOf(*image2, frame2);
    // Both share the transform, so in picture pixels they lie apart by a plain shift: pixel (u, v)
    // of the first covers the square at (u, v) + shift in the second's pixels.
    const TVec shift = Unturn(inverse, {static_cast<double>(x1) - x2, static_cast<double>(y1) - y2}) +
                       TVec{image2->handle_x, image2->handle_y} - TVec{image1->handle_x, image1->handle_y};
    if (!Finite(shift))
        return 0;
    int u0, u1, v0, v1;
    PixelRange(-shift.x - 1, b.width - shift.x, a.width, u0, u1);
    PixelRange(-shift.y - 1, b.height - shift.y, a.height, v0, v1);
    for (int v = v0; v <= v1; ++v) {
        const double ey = v + shift.y;
        const int k0 = static_cast<int>(std::floor(ey));
        for (int u = u0; u <= u1; ++u) {
            if (!a.At(u, v))
                continue;
            const double ex = u + shift.x;
            const int j0 = static_cast<int>(std::floor(ex));
            for (int k = k0; k <= k0 + 1; ++k)
                for (int j = j0; j <= j0 + 1; ++j)
                    if (b.At(j, k) && SpansOverlap(ex, j) && SpansOverlap(ey, k))
                        return 1;
        }
    }
    return 0;
}

int ImageRectCollide(const std::shared_ptr<TImage>& image, float x, float y, int frame, float rx, float ry,
                     float rw, float rh)
{
    TInverseTransform inverse;
    if (!image || rw == 0 || rh == 0 || !CurrentInverseTransform(inverse))
        return 0;
    const TOpaqueMask mask = MaskOf(*image, frame);
    // The rectangle in the picture's pixels: a parallelogram from corner q along edges ea and eb.
    const TVec handle{image->handle_x, image->handle_y};
    const TVec q = Unturn(inverse, {static_cast<double>(rx) - x, static_cast<double>(ry) - y}) + handle;
    const TVec ea = Unturn(inverse, {rw, 0}), eb = Unturn(inverse, {0, rh});
    if (!Finite(q) || !Finite(ea) || !Finite(eb))
        return 0;
    const double xs[] = {q.x, q.x + ea.x, q.x + eb.x, q.x + ea.x + eb.x};
    const double ys[] = {q.y, q.y + ea.y, q.y + eb.y, q.y + ea.y + eb.y};
    const auto [left, right] = std::minmax_element(std::begin(xs), std::end(xs));
    const auto [top, bottom] = std::minmax_element(std::begin(ys), std::end(ys));

    // Separating axes besides x and y: the normals of both edges. On each, the parallelogram spans
    // the projections of q and of q plus the other edge.
    struct TAxis {
        TVec normal;
        double lo, hi;
    };
    std::vector<TAxis> axes;
    for (const auto& [edge, other] : {std::pair{ea, eb}, std::pair{eb, ea}}) {
        const double length = std::hypot(edge.x, edge.y);
        const TVec n{-edge.y / length, edge.x / length};
        const double p0 = Dot(q, n), p1 = Dot(q + other, n);
        axes.push_back({n, std::min(p0, p1), std::max(p0, p1)});
    }

    int u0, u1, v0, v1;
    PixelRange(*left, *right, mask.width, u0, u1);
    PixelRange(*top, *bottom, mask.height, v0, v1);
    for (int v = v0; v <= v1; ++v) {
        if (!(v < *bottom - EdgeTolerance && v + 1 > *top + EdgeTolerance))
            continue;
        for (int u = u0; u <= u1; ++u) {
            if (!mask.At(u, v) || !(u < *right - EdgeTolerance && u + 1 > *left + EdgeTolerance))
                continue;
            const TVec centre{u + 0.5, v + 0.5};
            const bool separated = std::any_of(axes.begin(), axes.end(), [&](const TAxis& axis) {
                const double c = Dot(centre, axis.normal);
                const double r = (std::abs(axis.normal.x) + std::abs(axis.normal.y)) / 2;
                return c + r <= axis.lo + EdgeTolerance || c - r >= axis.hi - EdgeTolerance;
            });
            if (!separated)
                return 1;
        }
    }
    return 0;
}
