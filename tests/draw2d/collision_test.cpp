// Pixel collisions of images with each other and with screen rectangles, under the drawing state
// of real GL graphics.
#include "draw2d/collision.h"
#include "glwindow.h"

namespace {

using Collision = GLWindowTest;

TEST_F(Collision, SquaresCollideWhenTheyOverlapButNotWhenTheyOnlyTouch)
{
    auto a = SolidImage(8, 8, 0xFFFFFFFF), b = SolidImage(8, 8, 0xFF00FF00);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 7.5f, 0, 0), 1);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 8, 0, 0), 0);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 0, -8, 0), 0);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 8, 8, 0), 0);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, -7, 7, 0), 1);
    EXPECT_EQ(ImagesCollide(a, 100, 100, 0, b, 100, 100, 0), 1);

    // Handles move the pictures: b's handle at its bottom right puts it up and left of (8, 8).
    SetImageHandle(b, 8, 8);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 0, 0, 0), 0);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 1, 1, 0), 1);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 16, 16, 0), 0);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, 15, 15, 0), 1);
}

TEST_F(Collision, OnlyPixelsThatAreNotTransparentCount)
{
    // A masked ring: black (masked) inside, one opaque pixel round the border.
    auto ring = PictureImage(
        8, 8, [](int x, int y) { return x == 0 || y == 0 || x == 7 || y == 7 ? 0xFFFFFFFFu : 0xFF000000u; },
        PF_RGB888, ImageFlagMasked);
    auto dot = SolidImage(2, 2, 0xFFFF0000);
    EXPECT_EQ(ImagesCollide(ring, 10, 10, 0, dot, 13, 13, 0), 0);
    EXPECT_EQ(ImagesCollide(dot, 13, 13, 0, ring, 10, 10, 0), 0);
    EXPECT_EQ(ImagesCollide(ring, 10, 10, 0, dot, 16.5f, 13, 0), 1);
    EXPECT_EQ(ImagesCollide(ring, 10, 10, 0, dot, 9, 9, 0), 1);
    EXPECT_EQ(ImageRectCollide(ring, 10, 10, 0, 11, 11, 6, 6), 0);
    EXPECT_EQ(ImageRectCollide(ring, 10, 10, 0, 11, 11, 6.5f, 6), 1);

    // Alpha pictures: any alpha above 0 counts; a clear pixmap touches nothing.
    auto faint = SolidImage(4, 4, 0x01FFFFFF), clear = SolidImage(4, 4, 0x00FFFFFF);
    EXPECT_EQ(ImagesCollide(faint, 0, 0, 0, dot, 1, 1, 0), 1);
    EXPECT_EQ(ImagesCollide(clear, 0, 0, 0, dot, 1, 1, 0), 0);
    EXPECT_EQ(ImageRectCollide(clear, 0, 0, 0, -10, -10, 100, 100), 0);
}

TEST_F(Collision, FramesAreTestedOneByOne)
{
    auto pixmap = CreatePixmap(4, 2, PF_RGBA8888);
    pixmap->ClearPixels(0);
    pixmap->WritePixel(0, 0, 0xFFFFFFFF); // frame 0: its top left pixel; frame 1: its bottom right
    pixmap->WritePixel(3, 1, 0xFFFFFFFF);
    auto anim = TImage::LoadAnim(pixmap, 2, 2, 0, 2, 0, 0, 0, 0);
    ASSERT_TRUE(anim);
    auto dot = SolidImage(1, 1, 0xFFFFFFFF);
    EXPECT_EQ(ImagesCollide(anim, 0, 0, 0, dot, 0, 0, 0), 1);
    EXPECT_EQ(ImagesCollide(anim, 0, 0, 1, dot, 0, 0, 0), 0);
    EXPECT_EQ(ImagesCollide(anim, 0, 0, 1, dot, 1, 1, 0), 1);
    EXPECT_EQ(ImagesCollide(anim, 0, 0, 2, dot, 0, 0, 0), 0);
    EXPECT_EQ(ImagesCollide(anim, 0, 0, 0, dot, 0, 0, -1), 0);
    EXPECT_EQ(ImagesCollide(nullptr, 0, 0, 0, dot, 0, 0, 0), 0);
    EXPECT_EQ(ImageRectCollide(anim, 0, 0, 1, 1, 1, 1, 1), 1);
    EXPECT_EQ(ImageRectCollide(anim, 0, 0, 1, 0, 0, 1, 1), 0);
    EXPECT_EQ(ImageRectCollide(anim, 0, 0, 5, 0, 0, 9, 9), 0);
    EXPECT_EQ(ImageRectCollide(nullptr, 0, 0, 0, 0, 0, 9, 9), 0);
}

TEST_F(Collision, TurnedBarsMeetWhereTheyAreDrawn)
{
    // 16 by 2 bars turned a quarter clockwise about their top left corner: the bar drawn at
    // (100, 100) covers x 98..100, y 100..116 on screen.
    auto bar = SolidImage(16, 2, 0xFFFFFFFF);
    SetRotation(90);
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 102, 100, 0), 0); // side by side
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 101, 100, 0), 1);
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 100, 110, 0), 1); // one below the other, overlapping
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 100, 116, 0), 0); // end to end
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 98, 100, 2, 16), 1);
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 100, 100, 5, 5), 0);
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 99.5f, 115.5f, 1, 1), 1);
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 90, 90, 8, 10), 0);
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 105, 110, -6, -20), 1); // negative sizes reach back

    // The same calls unturned: the bars lie along x.
    SetRotation(0);
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 102, 100, 0), 1);
    EXPECT_EQ(ImagesCollide(bar, 100, 100, 0, bar, 100, 110, 0), 0);
    EXPECT_EQ(ImageRectCollide(bar, 100, 100, 0, 98, 100, 2, 16), 0);
}

TEST_F(Collision, DiamondsAreTestedByTheirShapeNotTheirBounds)
{
    // A single pixel scaled to a 10 pixel square and turned 45 degrees about its centre: a diamond
    // reaching 7.07 pixels from its centre along each axis.
    auto pixel = SolidImage(1, 1, 0xFFFFFFFF);
    SetImageHandle(pixel, 0.5f, 0.5f);
    SetTransform(45, 10, 10);
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 5, 5, 10, 10), 0); // inside the bounds, off the diamond
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 3, 3, 10, 10), 1);
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 7, -1, 10, 2), 1);
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 7.1f, -1, 10, 2), 0);
    EXPECT_EQ(ImagesCollide(pixel, 0, 0, 0, pixel, 10, 0, 0), 1);  // tips cross
    EXPECT_EQ(ImagesCollide(pixel, 0, 0, 0, pixel, 7.2f, 7.2f, 0), 0); // facing sides apart
    EXPECT_EQ(ImagesCollide(pixel, 0, 0, 0, pixel, 7, 7, 0), 1);

    SetTransform(0, 10, 10);
    EXPECT_EQ(ImagesCollide(pixel, 0, 0, 0, pixel, 10, 0, 0), 0); // unturned squares only touch
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 5, 5, 10, 10), 0);
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, 4.5f, 4.5f, 10, 10), 1);

    SetTransform(0, 0, 10); // a scale of 0 shows nothing, so nothing collides
    EXPECT_EQ(ImagesCollide(pixel, 0, 0, 0, pixel, 0, 0, 0), 0);
    EXPECT_EQ(ImageRectCollide(pixel, 0, 0, 0, -5, -5, 10, 10), 0);
}

TEST_F(Collision, CollisionsAgreeWithThePixelsDrawn)
{
    // Two turned and scaled images drawn in additive blend: away from a glancing contact (where the
    // overlap covers no pixel centre) they collide exactly when some pixel shows both colours.
    auto red = SolidImage(6, 3, 0xFFFF0000), green = SolidImage(5, 4, 0xFF00FF00);
    SetImageHandle(green, 2.5f, 2);
    SetBlend(BlendLight);
    SetTransform(30, 3, 2);
    for (const float dx : {-20.0f, -6.0f, 6.0f, 14.0f, 24.0f}) {
        Cls();
        DrawImage(red, 200, 200);
        DrawImage(green, 200 + dx, 205);
        auto grab = GrabPixmap(100, 100, 250, 250);
        int both = 0;
        for (int y = 0; y < 250; ++y)
            for (int x = 0; x < 250; ++x)
                both += (grab->ReadPixel(x, y) & 0xFFFF00) == 0xFFFF00;
        EXPECT_EQ(ImagesCollide(red, 200, 200, 0, green, 200 + dx, 205, 0), both > 0 ? 1 : 0) << "dx " << dx;
    }
}

} // namespace
