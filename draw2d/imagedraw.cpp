#include "draw2d/imagedraw.h"

#include <algorithm>
#include <cmath>

#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "draw2d/imageframe.h"
#include "draw2d/inversetransform.h"

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
    TInverseTransform inverse;
    if (!CurrentInverseTransform(inverse))
        return;
    const TDraw2DGraphics& g = *target.graphics;
    const double w = image->width, h = image->height;
    const double x0 = -image->handle_x, y0 = -image->handle_y;
    const double tx = x + g.origin_x, ty = y + g.origin_y;

    // Map the viewport's corners back into the grid to find the rows and columns of tiles that reach it.
    const double left = g.viewport_x, top = g.viewport_y;
    const double right = left + g.viewport_w, bottom = top + g.viewport_h;
    double firstColumn = INFINITY, lastColumn = -INFINITY, firstRow = INFINITY, lastRow = -INFINITY;
    for (const auto& [sx, sy] : {std::pair{left, top}, {right, top}, {left, bottom}, {right, bottom}}) {
        double cx, cy;
        inverse.Apply(sx - tx, sy - ty, cx, cy);
        const double column = std::floor((cx - x0) / w), row = std::floor((cy - y0) / h);
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
    }
    // Counted as doubles: tiles far smaller than a pixel need more of them than any integer holds.
    const double count = (lastColumn - firstColumn + 1) * (lastRow - firstRow + 1);
    if (!std::isfinite(count) || count > static_cast<double>(MaxTiles))
        return;
    for (double j = firstRow; j <= lastRow; ++j) {
        const auto ty0 = static_cast<float>(y0 + j * h);
        for (double i = firstColumn; i <= lastColumn; ++i) {
            const auto tx0 = static_cast<float>(x0 + i * w);
            target.frame->Draw(tx0, ty0, tx0 + static_cast<float>(w), ty0 + static_cast<float>(h),
                               static_cast<float>(tx), static_cast<float>(ty), 0, 0, static_cast<float>(w),
                               static_cast<float>(h));
        }
    }
}
