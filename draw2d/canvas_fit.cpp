#include "draw2d/canvas_fit.h"

#include <algorithm>
#include <cmath>

TCanvasFit FitCanvas(int32_t windowWidth, int32_t windowHeight, int32_t canvasWidth, int32_t canvasHeight,
                     bool wholeScale)
{
    windowWidth = std::max(windowWidth, 0);
    windowHeight = std::max(windowHeight, 0);
    TCanvasFit fit{windowWidth, windowHeight, canvasWidth, canvasHeight, {0, 0, windowWidth, windowHeight}};
    if (canvasWidth <= 0 || canvasHeight <= 0 || windowWidth == 0 || windowHeight == 0)
        return fit;
    double scale = std::min(static_cast<double>(windowWidth) / canvasWidth,
                            static_cast<double>(windowHeight) / canvasHeight);
    if (wholeScale && scale >= 1)
        scale = std::floor(scale);
    // Rounded, and never past the window, so the bars on either side differ by one pixel at most.
    TPixelRect& r = fit.canvas;
    r.width = std::min(windowWidth, static_cast<int32_t>(std::lround(canvasWidth * scale)));
    r.height = std::min(windowHeight, static_cast<int32_t>(std::lround(canvasHeight * scale)));
    r.x = (windowWidth - r.width) / 2;
    r.y = (windowHeight - r.height) / 2;
    return fit;
}

void WindowToCanvas(const TCanvasFit& fit, int32_t& x, int32_t& y)
{
    const TPixelRect& r = fit.canvas;
    if (r.width <= 0 || r.height <= 0)
        return;
    // Floor, not truncation: a pixel left of the canvas must not round to column 0.
    x = static_cast<int32_t>(std::floor(static_cast<double>(x - r.x) * fit.canvasWidth / r.width));
    y = static_cast<int32_t>(std::floor(static_cast<double>(y - r.y) * fit.canvasHeight / r.height));
}

TPixelRect CanvasRectInWindow(const TCanvasFit& fit, int32_t x, int32_t y, int32_t width, int32_t height)
{
    const double sx = fit.ScaleX(), sy = fit.ScaleY();
    const auto left = static_cast<int32_t>(std::lround(fit.canvas.x + x * sx));
    const auto top = static_cast<int32_t>(std::lround(fit.canvas.y + y * sy));
    const auto right = static_cast<int32_t>(std::lround(fit.canvas.x + (x + width) * sx));
    const auto bottom = static_cast<int32_t>(std::lround(fit.canvas.y + (y + height) * sy));
    return {left, top, right - left, bottom - top};
}

int32_t LargestWholeScale(int32_t limit, int32_t canvas)
{
    return canvas > 0 ? std::max(limit / canvas, 1) : 1;
}
