// Stretched, cut and tiled images on a real GL surface, read back pixel by pixel.
#include "draw2d/imagedraw.h"
#include "glwindow.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00, kBlack = 0,
                   kGrey = 0x808080;

class ImageDraw : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        if (IsSkipped())
            return;
        SetClsColor(0, 0, 0);
        Cls();
        // 4 by 4 in quadrants: red, green over blue, yellow.
        quadrants_ = PictureImage(4, 4, [](int x, int y) {
            const uint32_t colours[] = {kRed, kGreen, kBlue, kYellow};
            return 0xFF000000u | colours[(y / 2) * 2 + x / 2];
        });
    }

    std::shared_ptr<TImage> quadrants_;
};

TEST_F(ImageDraw, ImageRectStretchesTheFrameAndItsHandle)
{
    SetImageHandle(quadrants_, 2, 2); // the centre stays the centre
    DrawImageRect(quadrants_, 100, 100, 40, 20);
    EXPECT_EQ(Rgb(80, 90), kRed);
    EXPECT_EQ(Rgb(99, 99), kRed);
    EXPECT_EQ(Rgb(100, 99), kGreen);
    EXPECT_EQ(Rgb(119, 90), kGreen);
    EXPECT_EQ(Rgb(80, 109), kBlue);
    EXPECT_EQ(Rgb(119, 109), kYellow);
    EXPECT_EQ(Rgb(79, 100), kBlack);
    EXPECT_EQ(Rgb(120, 100), kBlack);
    EXPECT_EQ(Rgb(100, 89), kBlack);
    EXPECT_EQ(Rgb(100, 110), kBlack);
}

TEST_F(ImageDraw, ImageRectTurnsAndScalesAboutTheDrawingPoint)
{
    SetImageHandle(quadrants_, 2, 2);
    SetOrigin(10, 0);
    SetTransform(90, 2, 1);
    // 40 by 20 stretched, corners (-20, -10) to (20, 10) about the handle; doubled along the picture's
    // x and turned a quarter clockwise about (110, 100), so the picture's top edge points right.
    DrawImageRect(quadrants_, 100, 100, 40, 20);
    EXPECT_EQ(Rgb(115, 65), kRed);
    EXPECT_EQ(Rgb(105, 65), kBlue);
    EXPECT_EQ(Rgb(115, 135), kGreen);
    EXPECT_EQ(Rgb(105, 135), kYellow);
    EXPECT_EQ(Rgb(110, 58), kBlack);
    EXPECT_EQ(Rgb(110, 142), kBlack);
    EXPECT_EQ(Rgb(98, 100), kBlack);
    EXPECT_EQ(Rgb(122, 100), kBlack);
}

TEST_F(ImageDraw, SubImageRectDrawsOnlyTheSourceRectangle)
{
    DrawSubImageRect(quadrants_, 200, 200, 30, 30, 2, 0, 2, 2);
    EXPECT_EQ(Rgb(200, 200), kGreen);
    EXPECT_EQ(Rgb(229, 229), kGreen);
    EXPECT_EQ(Rgb(230, 215), kBlack);
    EXPECT_EQ(Rgb(215, 230), kBlack);
    EXPECT_EQ(Rgb(199, 215), kBlack);

    // The handle scales with the stretch: (1, 1) picture pixels are 15 screen pixels here.
    SetImageHandle(quadrants_, 1, 1);
    DrawSubImageRect(quadrants_, 300, 300, 30, 30, 0, 2, 4, 2);
    EXPECT_EQ(Rgb(293, 285), kBlue);
    EXPECT_EQ(Rgb(308, 285), kYellow);
    EXPECT_EQ(Rgb(321, 314), kYellow);
    EXPECT_EQ(Rgb(291, 300), kBlack);
    EXPECT_EQ(Rgb(300, 284), kBlack);
    EXPECT_EQ(Rgb(323, 300), kBlack);
    EXPECT_EQ(Rgb(300, 315), kBlack);

    DrawSubImageRect(quadrants_, 400, 400, 30, 30, 0, 0, 0, 2); // empty source
    EXPECT_EQ(Rgb(400, 400), kBlack);
}

// Colour at screen x of a grid of 8 pixel tiles, red on the left half, green on the right, whose
// tile corners lie at offset.
uint32_t TileColour(int x, int offset) { return ((x - offset) % 8 + 8) % 8 < 4 ? kRed : kGreen; }

TEST_F(ImageDraw, TileImageCoversTheViewportFromItsOffset)
{
    auto halves = PictureImage(8, 8, [](int x, int) { return 0xFF000000u | (x < 4 ? kRed : kGreen); });
    SetImageHandle(halves, 1, 0);
    TileImage(halves, 4, -2); // corners at x = 3 + 8k
    for (int x = 0; x < 512; x += 3) {
        ASSERT_EQ(Rgb(x, 0), TileColour(x, 3)) << "x " << x;
        ASSERT_EQ(Rgb(x, 511), TileColour(x, 3)) << "x " << x;
    }
    EXPECT_EQ(Rgb(511, 300), TileColour(511, 3));

    // Only inside the viewport, under the current colour.
    SetClsColor(128, 128, 128);
    Cls();
    SetViewport(100, 100, 50, 40);
    SetColor(255, 0, 255);
    auto white = SolidImage(8, 8, 0xFFFFFFFF);
    TileImage(white, 0, 0);
    EXPECT_EQ(Rgb(100, 100), 0xFF00FFu);
    EXPECT_EQ(Rgb(149, 139), 0xFF00FFu);
    EXPECT_EQ(Rgb(99, 120), kGrey);
    EXPECT_EQ(Rgb(150, 120), kGrey);
    EXPECT_EQ(Rgb(120, 140), kGrey);
}

TEST_F(ImageDraw, TileImageTurnsAndScalesTheWholeGrid)
{
    auto halves = PictureImage(8, 8, [](int x, int) { return 0xFF000000u | (x < 4 ? kRed : kGreen); });
    // Doubled and turned a quarter: the halves now run down the screen, 16 pixel tiles whose picture
    // x grows downward from y = 5.
    SetTransform(90, 2, 2);
    TileImage(halves, 0, 5);
    for (int y = 0; y < 512; y += 5) {
        const uint32_t expected = ((y - 5) % 16 + 16) % 16 < 8 ? kRed : kGreen;
        ASSERT_EQ(Rgb(0, y), expected) << "y " << y;
        ASSERT_EQ(Rgb(511, y), expected) << "y " << y;
    }
}

TEST_F(ImageDraw, TilesTooSmallToSeeDrawNothing)
{
    auto white = SolidImage(1, 1, 0xFFFFFFFF);
    SetScale(1e-6f, 1e-6f);
    TileImage(white, 0, 0);
    EXPECT_EQ(Rgb(256, 256), kBlack);
    SetScale(0, 1);
    TileImage(white, 0, 0);
    EXPECT_EQ(Rgb(256, 256), kBlack);
}

TEST_F(ImageDraw, NoImageOrNoFrameDrawsNothing)
{
    DrawImageRect(nullptr, 0, 0, 10, 10);
    DrawImageRect(quadrants_, 0, 0, 10, 10, 1);
    DrawSubImageRect(quadrants_, 0, 0, 10, 10, 0, 0, 4, 4, -1);
    TileImage(nullptr);
    TileImage(quadrants_, 0, 0, 3);
    EXPECT_EQ(Rgb(5, 5), kBlack);
}

} // namespace
