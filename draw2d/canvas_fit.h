#pragma once
#include <cstdint>

// Where a program's fixed-size drawing (the canvas) lands in a window of another size: as large
// as fits with its shape kept, centred, the rest of the window left as bars.

// Pixels of a window, rows counted from the top.
struct TPixelRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TPixelRect&) const = default;
};

struct TCanvasFit {
    int32_t windowWidth = 0, windowHeight = 0;
    int32_t canvasWidth = 0, canvasHeight = 0;
    TPixelRect canvas; // where the canvas lands

    float ScaleX() const { return canvasWidth > 0 ? static_cast<float>(canvas.width) / canvasWidth : 1; }
    float ScaleY() const { return canvasHeight > 0 ? static_cast<float>(canvas.height) / canvasHeight : 1; }
    bool operator==(const TCanvasFit&) const = default;
};

// wholeScale keeps to whole-number scales while the canvas fits at least once; a window smaller
// than the canvas shrinks it whatever the setting, so nothing is ever cut off.
TCanvasFit FitCanvas(int32_t windowWidth, int32_t windowHeight, int32_t canvasWidth, int32_t canvasHeight,
                     bool wholeScale);

// Canvas coordinates of a window position. Positions over the bars come out beyond the canvas's
// edges (below 0 or past its size), so they lie on nothing the program draws.
void WindowToCanvas(const TCanvasFit& fit, int32_t& x, int32_t& y);

// The window pixels covering the canvas rectangle (x, y, width, height).
TPixelRect CanvasRectInWindow(const TCanvasFit& fit, int32_t x, int32_t y, int32_t width, int32_t height);

// The largest whole scale at which a canvas of side `canvas` fits in `limit` pixels; at least 1.
int32_t LargestWholeScale(int32_t limit, int32_t canvas);
