#include "draw2d/imagedraw.h"

#include <algorithm>
#include <cmath>

#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "draw2d/imageframe.h"

namespace {

// The frame to draw and the drawing state it is drawn under; none when nothing can be drawn.
struct TDrawTarget {
    const TDraw2DGraphics* graphics = nullptr;
    std::shared_ptr<TImageFrame> frame;
};

TDrawTarget TargetFor(const std::shared_ptr<TImage>& image, int frame)
{
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    if (!g || !image)
        return {};
    return {g, image->Frame(frame)};
}

// A grid index range [first, last] along one axis of the tile grid.
struct TTileSpan {
    double first = 0, last = -1;
    long long Count() const { return last >= first ? static_cast<long long>(last - first) + 1 : 0; }
};

} // namespace

void DrawImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height, int frame)
{
    const TDrawTarget target = TargetFor(image, frame);
    if (!target.frame || image->width <= 0 || image->height <= 0)
        return;
    const auto w = static_cast<float>(image->width), h = static_cast<float>(image->height);
    const float x0 = -image->handle_x * width / w, y0 = -image->handle_y * height / h;
    target.frame->Draw(x0, y0, x0 + width, y0 + height, x + target.graphics->origin_x,
                       y + target.graphics->origin_y, 0, 0, w, h);
}

void DrawSubImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height,
                      float sx, float sy, float sw, float sh, int frame)
{
    if (sw == 0 || sh == 0)
        return;
    const TDrawTarget target = TargetFor(image, frame);
    if (!target.frame)
        return;
    const float x0 = -image->handle_x * width / sw, y0 = -image->handle_y * height / sh;
    target.frame->Draw(x0, y0, x0 + width, y0 + height, x + target.graphics->origin_x,
                       y + target.graphics->origin_y, sx, sy, sw, sh);
}

void TileImage(const std::shared_ptr<TImage>& image, float x, float y, int frame)
{
    const TDrawTarget target = TargetFor(image, frame);
    if (!target.frame || image->width <= 0 || image->height <= 0)
        return;
    const TDraw2DGraphics& g = *target.graphics;
    const double det = static_cast<double>(g.tform_ix) * g.tform_jy - static_cast<double>(g.tform_iy) * g.tform_jx;
    if (det == 0)
        return; // a scale of 0 shows nothing
    const double w = image->width, h = image->height;
    const double x0 = -image->handle_x, y0 = -image->handle_y;
    const double tx = x + g.origin_x, ty = y + g.origin_y;

    // Map the viewport's corners back into the grid to find the tiles that reach it.
    const double left = g.viewport_x, top = g.viewport_y;
    const double right = left + g.viewport_w, bottom = top + g.viewport_h;
    TTileSpan across{INFINITY, -INFINITY}, down{INFINITY, -INFINITY};
    for (const auto& [sx, sy] : {std::pair{left, top}, {right, top}, {left, bottom}, {right, bottom}}) {
        const double rx = sx - tx, ry = sy - ty;
        const double cx = (g.tform_jy * rx - g.tform_iy * ry) / det;
        const double cy = (g.tform_ix * ry - g.tform_jx * rx) / det;
        const double i = std::floor((cx - x0) / w), j = std::floor((cy - y0) / h);
        across = {std::min(across.first, i), std::max(across.last, i)};
        down = {std::min(down.first, j), std::max(down.last, j)};
    }
    // Checked as doubles first: tiles far smaller than a pixel give spans beyond any integer.
    if (!std::isfinite(across.last - across.first) || !std::isfinite(down.last - down.first) ||
        (across.last - across.first + 1) * (down.last - down.first + 1) > static_cast<double>(MaxTiles) ||
        across.Count() * down.Count() > MaxTiles)
        return;
    for (double j = down.first; j <= down.last; ++j) {
        const auto ty0 = static_cast<float>(y0 + j * h);
        for (double i = across.first; i <= across.last; ++i) {
            const auto tx0 = static_cast<float>(x0 + i * w);
            target.frame->Draw(tx0, ty0, tx0 + static_cast<float>(w), ty0 + static_cast<float>(h),
                               static_cast<float>(tx), static_cast<float>(ty), 0, 0, static_cast<float>(w),
                               static_cast<float>(h));
        }
    }
}
