// The pictures painted denser, drawn from the real files in a real OpenGL window at scale 2 and 3:
// an edge that the picture's own pixels can only put in the middle of one of them shows sharp to
// one window pixel, where the magnified picture spreads that pixel over as many as the scale.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_canvas.h"
#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"

namespace {

// The score plate of the frame picture: its rim, 1.2 pixels wide, runs down the left side from
// x = 6, so the plate's own pixel 7 is part rim, part plate. Its middle row, 38.
constexpr int RimLeft = 6, PlateInside = 9, PlateRow = 38;

class PictureDensity : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestCanvas(GetParam()));
        SetClsColor(0, 0, 0);
    }
    void TearDown() override { CloseTestCanvas(); }

    // The frame picture as start-up loads it, with its denser versions or not.
    static std::shared_ptr<TImage> FramePicture(bool denser) { return LoadCentredPicture("hud.png", denser); }

    // The window pixels across the plate's left rim, from the rim's first pixel to inside the
    // plate, that are neither the rim's shade nor the plate's: the width of the edge.
    static int EdgeWidth(const std::shared_ptr<TImage>& image)
    {
        Cls();
        SetColor(255, 255, 255);
        DrawImage(image, 256, 256);
        const auto window = GrabWindowPixmap();
        if (!window)
            return -1;
        const int scale = GetParam();
        const int y = PlateRow * scale + scale / 2;
        const auto green = [&](int x) { return static_cast<int>(window->ReadPixel(x, y) >> 8 & 0xFF); };
        const int rim = green(RimLeft * scale), plate = green(PlateInside * scale);
        // Well apart: the rim is light steel, the plate dark slate.
        if (rim - plate < 40)
            return -1;
        constexpr int Near = 8;
        int between = 0;
        for (int x = RimLeft * scale; x < PlateInside * scale; ++x)
            between += green(x) < rim - Near && green(x) > plate + Near;
        Flip(0);
        return between;
    }

};

TEST_P(PictureDensity, TheFramePicturesPlateRimIsSharpToOneWindowPixel)
{
    const int scale = GetParam();
    EXPECT_EQ(EdgeWidth(FramePicture(false)), scale) << "magnified, the rim's edge pixel is " << scale << " wide";
    EXPECT_EQ(EdgeWidth(FramePicture(true)), 1) << "painted for scale " << scale;
}

INSTANTIATE_TEST_SUITE_P(Scales, PictureDensity, ::testing::Values(2, 3));

} // namespace
