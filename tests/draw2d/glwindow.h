#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"

// A 512 by 512 window with the GL 2D driver, unpaced; pixels are read back from the back buffer.
class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GLDraw2DDriverInstance())
            GTEST_SKIP() << "no video";
        SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
        ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, 0));
    }
    void TearDown() override { CloseOpenedGraphics(); }

    // ARGB of one screen pixel.
    static uint32_t Pixel(int32_t x, int32_t y) { return GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0); }
    // Red, green, blue of one screen pixel as 0xRRGGBB.
    static uint32_t Rgb(int32_t x, int32_t y) { return Pixel(x, y) & 0xFFFFFF; }

    // A w by h image, every pixel argb, handle at the top left, unfiltered.
    static std::shared_ptr<TImage> SolidImage(int32_t w, int32_t h, uint32_t argb)
    {
        auto pixmap = CreatePixmap(w, h, PF_RGBA8888);
        pixmap->ClearPixels(argb);
        return TImage::Load(pixmap, 0, 0, 0, 0);
    }

    // A w by h image whose pixel (x, y) is argb(x, y), in the given pixmap format (masking black with
    // ImageFlagMasked), handle at the top left, unfiltered.
    static std::shared_ptr<TImage> PictureImage(int32_t w, int32_t h, const std::function<uint32_t(int, int)>& argb,
                                                int32_t format = PF_RGBA8888, int32_t flags = 0)
    {
        auto pixmap = CreatePixmap(w, h, format);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixmap->WritePixel(x, y, argb(x, y));
        return TImage::Load(pixmap, flags, 0, 0, 0);
    }
};
