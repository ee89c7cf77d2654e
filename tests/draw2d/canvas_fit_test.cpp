#include "draw2d/canvas_fit.h"

#include <gtest/gtest.h>

TEST(CanvasFit, LargestSquareCentredWithBarsOnTheLongSide)
{
    const TCanvasFit wide = FitCanvas(1200, 800, 512, 512, false);
    EXPECT_EQ(wide.canvas, (TPixelRect{200, 0, 800, 800}));
    const TCanvasFit tall = FitCanvas(600, 1000, 512, 512, false);
    EXPECT_EQ(tall.canvas, (TPixelRect{0, 200, 600, 600}));
    EXPECT_EQ(FitCanvas(1024, 1024, 512, 512, false).canvas, (TPixelRect{0, 0, 1024, 1024}));
    // An odd leftover puts the extra pixel on the right.
    EXPECT_EQ(FitCanvas(1025, 512, 512, 512, false).canvas, (TPixelRect{256, 0, 512, 512}));
}

TEST(CanvasFit, WholeScalesOnlyWhileTheCanvasFitsOnce)
{
    EXPECT_EQ(FitCanvas(1000, 900, 512, 512, true).canvas, (TPixelRect{244, 194, 512, 512}));
    EXPECT_EQ(FitCanvas(1200, 1100, 512, 512, true).canvas, (TPixelRect{88, 38, 1024, 1024}));
    EXPECT_EQ(FitCanvas(1600, 1600, 512, 512, true).canvas, (TPixelRect{32, 32, 1536, 1536}));
    // Smaller than the canvas: shrunk anyway rather than cut off.
    EXPECT_EQ(FitCanvas(300, 400, 512, 512, true).canvas, (TPixelRect{0, 50, 300, 300}));
}

TEST(CanvasFit, EmptyWindowsAndCanvasesGiveNoScaling)
{
    const TCanvasFit none = FitCanvas(0, 0, 512, 512, false);
    EXPECT_EQ(none.canvas, (TPixelRect{}));
    int32_t x = 7, y = 9;
    WindowToCanvas(none, x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
    EXPECT_EQ(FitCanvas(640, 480, 0, 0, false).canvas, (TPixelRect{0, 0, 640, 480}));
}

TEST(CanvasFit, WindowPositionsMapToCanvasAndBarsLieOutside)
{
    const TCanvasFit fit = FitCanvas(1200, 800, 512, 512, false); // 800 wide from x 200
    const auto map = [&](int32_t x, int32_t y) {
        WindowToCanvas(fit, x, y);
        return std::pair{x, y};
    };
    EXPECT_EQ(map(200, 0), (std::pair{0, 0}));
    EXPECT_EQ(map(999, 799), (std::pair{511, 511}));
    EXPECT_EQ(map(600, 400), (std::pair{256, 256}));
    EXPECT_LT(map(199, 400).first, 0) << "the pixel left of the canvas is not column 0";
    EXPECT_LT(map(0, 400).first, 0);
    EXPECT_GE(map(1000, 400).first, 512);
    EXPECT_GE(map(1199, 400).first, 512);

    const TCanvasFit doubled = FitCanvas(1024, 1024, 512, 512, false);
    for (int32_t c : {0, 1, 100, 255, 511}) {
        int32_t x = 2 * c, y = 2 * c + 1;
        WindowToCanvas(doubled, x, y);
        EXPECT_EQ(x, c);
        EXPECT_EQ(y, c);
    }
}

TEST(CanvasFit, CanvasRectanglesScaleIntoTheWindow)
{
    const TCanvasFit fit = FitCanvas(1200, 800, 512, 512, false);
    EXPECT_EQ(CanvasRectInWindow(fit, 0, 0, 512, 512), fit.canvas);
    EXPECT_EQ(CanvasRectInWindow(fit, 64, 128, 32, 16), (TPixelRect{300, 200, 50, 25}));
}

TEST(CanvasFit, LargestWholeScaleIsAtLeastOne)
{
    EXPECT_EQ(LargestWholeScale(810, 512), 1);
    EXPECT_EQ(LargestWholeScale(1080, 512), 2);
    EXPECT_EQ(LargestWholeScale(1620, 512), 3);
    EXPECT_EQ(LargestWholeScale(100, 512), 1);
    EXPECT_EQ(LargestWholeScale(0, 512), 1);
}
