#include <array>
#include <cmath>
#include <limits>

#include <SDL.h>

#include <cstdlib>

#include "draw2d/imagefont.h"
#include "glwindow.h"

namespace {

using Draw2D = GLWindowTest;

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF;

TEST_F(Draw2D, FreshGraphicsStartWithTheInitialState)
{
    TDraw2DGraphics* g = TDraw2DGraphics::Current();
    ASSERT_TRUE(g);
    EXPECT_EQ(CurrentDraw2DDriver(), GLDraw2DDriverInstance());
    EXPECT_EQ(g->Driver(), GLDraw2DDriverInstance()); // selecting it keeps the 2D driver
    EXPECT_EQ(GetBlend(), BlendMask);
    int32_t r, gr, b;
    GetColor(r, gr, b);
    EXPECT_EQ((std::array{r, gr, b}), (std::array{255, 255, 255}));
    EXPECT_EQ(GetAlpha(), 1.0f);
    GetClsColor(r, gr, b);
    EXPECT_EQ((std::array{r, gr, b}), (std::array{0, 0, 0}));
    EXPECT_EQ(GetRotation(), 0.0f);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    int32_t vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    EXPECT_EQ((std::array{vx, vy, vw, vh}), (std::array{0, 0, 512, 512}));
    EXPECT_EQ(VirtualResolutionWidth(), 512.0f);
    EXPECT_EQ(GetLineWidth(), 1.0f);
    EXPECT_EQ(GetImageFont(), TImageFont::Default());
    EXPECT_EQ(g->_setup, 1);
    // Both buffers start in the clear colour.
    EXPECT_EQ(Rgb(5, 5), kBlack);
    Flip(0);
    EXPECT_EQ(Rgb(5, 5), kBlack);
}

TEST_F(Draw2D, DrawRectFillsItsPixels)
{
    Cls();
    DrawRect(10, 20, 30, 40);
    EXPECT_EQ(Rgb(10, 20), kWhite);
    EXPECT_EQ(Rgb(39, 59), kWhite);
    EXPECT_EQ(Rgb(9, 30), kBlack);
    EXPECT_EQ(Rgb(40, 30), kBlack);
    EXPECT_EQ(Rgb(20, 19), kBlack);
    EXPECT_EQ(Rgb(20, 60), kBlack);
}

TEST_F(Draw2D, OriginAndHandleMoveShapes)
{
    Cls();
    SetOrigin(100, 100);
    SetHandle(5, 5);
    float hx, hy;
    GetHandle(hx, hy);
    EXPECT_EQ(hx, 5.0f);
    EXPECT_EQ(TDraw2DGraphics::Current()->handle_x, -5.0f); // stored negated
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(Rgb(95, 95), kWhite);
    EXPECT_EQ(Rgb(104, 104), kWhite);
    EXPECT_EQ(Rgb(94, 100), kBlack);
    EXPECT_EQ(Rgb(105, 100), kBlack);
}

TEST_F(Draw2D, ScaledImageCoversTwiceItsSizeAboutItsHandle)
{
    auto image = SolidImage(16, 16, 0xFFFFFFFF);
    image->handle_x = image->handle_y = 8;
    Cls();
    SetScale(2, 2);
    DrawImage(image, 100, 100);
    EXPECT_EQ(Rgb(84, 84), kWhite);
    EXPECT_EQ(Rgb(115, 115), kWhite);
    EXPECT_EQ(Rgb(83, 100), kBlack);
    EXPECT_EQ(Rgb(116, 100), kBlack);
    EXPECT_EQ(Rgb(100, 83), kBlack);
    EXPECT_EQ(Rgb(100, 116), kBlack);
}

TEST_F(Draw2D, RotationTurnsClockwise)
{
    // Top row red, the rest blue; turned by 90 degrees the top edge points right.
    auto pixmap = CreatePixmap(16, 16, PF_RGBA8888);
    pixmap->ClearPixels(0xFF0000FF);
    for (int x = 0; x < 16; ++x)
        pixmap->WritePixel(x, 0, 0xFFFF0000);
    auto image = TImage::Load(pixmap, 0, 0, 0, 0);
    image->handle_x = image->handle_y = 8;
    Cls();
    SetRotation(90);
    EXPECT_EQ(GetRotation(), 90.0f);
    DrawImage(image, 200, 200);
    // The corner (-8, -8) lands at (x + 8, y - 8): the red row is the column just left of x + 8.
    EXPECT_EQ(Rgb(207, 192), kRed);
    EXPECT_EQ(Rgb(207, 207), kRed);
    EXPECT_EQ(Rgb(206, 192), kBlue);
    EXPECT_EQ(Rgb(192, 192), kBlue);
    EXPECT_EQ(Rgb(208, 200), kBlack);
    EXPECT_EQ(Rgb(200, 191), kBlack);
}

TEST_F(Draw2D, SetTransformSetsRotationAndScaleTogether)
{
    SetTransform(90, 2, 3);
    const TDraw2DGraphics& g = *TDraw2DGraphics::Current();
    EXPECT_NEAR(g.tform_ix, 0, 1e-6);
    EXPECT_NEAR(g.tform_iy, -3, 1e-6);
    EXPECT_NEAR(g.tform_jx, 2, 1e-6);
    EXPECT_NEAR(g.tform_jy, 0, 1e-6);
    Cls();
    DrawRect(0, 0, 10, 10); // x' = -3y, y' = 2x: the rectangle goes left and down
    EXPECT_EQ(Rgb(0, 0), kBlack);
    SetOrigin(100, 100);
    Cls();
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(Rgb(75, 115), kWhite);
    EXPECT_EQ(Rgb(101, 110), kBlack);
}

TEST_F(Draw2D, AlphaIsClampedByTheDriverButKeptAsSet)
{
    SetBlend(BlendAlpha);
    Cls();
    SetAlpha(1.5f);
    EXPECT_EQ(GetAlpha(), 1.5f);
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(Rgb(5, 5), kWhite);
    SetAlpha(-0.2f);
    DrawRect(20, 0, 10, 10);
    EXPECT_EQ(Rgb(25, 5), kBlack);
    SetAlpha(std::numeric_limits<float>::quiet_NaN());
    DrawRect(40, 0, 10, 10);
    EXPECT_EQ(Rgb(45, 5), kBlack);
    SetAlpha(0.5f); // 127 of 255
    DrawRect(60, 0, 10, 10);
    EXPECT_NEAR(static_cast<int>(Rgb(65, 5) & 0xFF), 127, 1);
}

TEST_F(Draw2D, ColourIsClampedByTheDriverButKeptAsSet)
{
    Cls();
    SetColor(300, -5, 128);
    int32_t r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ((std::array{r, g, b}), (std::array{300, -5, 128}));
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(Rgb(5, 5), 0xFF0080u);
}

TEST_F(Draw2D, ClsFillsTheViewportWithTheClearColour)
{
    SetClsColor(10, 20, 30);
    Cls();
    EXPECT_EQ(Rgb(0, 0), 0x0A141Eu);
    SetViewport(100, 100, 50, 50);
    SetClsColor(300, 0, 0);
    Cls();
    EXPECT_EQ(Rgb(100, 100), kRed);
    EXPECT_EQ(Rgb(149, 149), kRed);
    EXPECT_EQ(Rgb(99, 120), 0x0A141Eu);
    EXPECT_EQ(Rgb(150, 120), 0x0A141Eu);
    EXPECT_EQ(Rgb(120, 150), 0x0A141Eu);
}

TEST_F(Draw2D, ViewportClipsDrawing)
{
    Cls();
    SetViewport(100, 50, 20, 10);
    int32_t x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{100, 50, 20, 10}));
    DrawRect(0, 0, 512, 512);
    EXPECT_EQ(Rgb(100, 50), kWhite);
    EXPECT_EQ(Rgb(119, 59), kWhite);
    EXPECT_EQ(Rgb(99, 55), kBlack);
    EXPECT_EQ(Rgb(120, 55), kBlack);
    EXPECT_EQ(Rgb(110, 49), kBlack);
    EXPECT_EQ(Rgb(110, 60), kBlack);
    SetViewport(0, 0, 512, 512);
    DrawRect(0, 0, 512, 512);
    EXPECT_EQ(Rgb(0, 0), kWhite);
}

TEST_F(Draw2D, VirtualResolutionScalesDrawingAndViewport)
{
    SetVirtualResolution(256, 128);
    EXPECT_EQ(TDraw2DGraphics::Current()->vres_mousexscale, 0.5f);
    EXPECT_EQ(TDraw2DGraphics::Current()->vres_mouseyscale, 0.25f);
    Cls();
    DrawRect(10, 10, 10, 10); // 20..40 across, 40..80 down
    EXPECT_EQ(Rgb(20, 40), kWhite);
    EXPECT_EQ(Rgb(39, 79), kWhite);
    EXPECT_EQ(Rgb(19, 50), kBlack);
    EXPECT_EQ(Rgb(40, 50), kBlack);
    EXPECT_EQ(Rgb(30, 80), kBlack);
    SetViewport(0, 0, 128, 64); // the top-left quarter in pixels
    Cls();
    DrawRect(0, 0, 256, 128);
    EXPECT_EQ(Rgb(255, 255), kWhite);
    EXPECT_EQ(Rgb(256, 100), kBlack);
    EXPECT_EQ(Rgb(100, 256), kBlack);
}

TEST_F(Draw2D, PlotAndLineLightWholePixels)
{
    Cls();
    Plot(7, 9);
    EXPECT_EQ(Rgb(7, 9), kWhite);
    EXPECT_EQ(Rgb(8, 9), kBlack);
    EXPECT_EQ(Rgb(7, 10), kBlack);
    DrawLine(10, 30, 20, 30);
    for (int x = 10; x <= 20; ++x) // the last point is plotted too
        EXPECT_EQ(Rgb(x, 30), kWhite) << x;
    EXPECT_EQ(Rgb(21, 30), kBlack);
    EXPECT_EQ(Rgb(15, 31), kBlack);
    DrawLine(10, 40, 20, 40, 0);
    EXPECT_EQ(Rgb(19, 40), kWhite);
    EXPECT_EQ(Rgb(20, 40), kBlack);
}

TEST_F(Draw2D, LineEndPointIsTurnedWithTheLine)
{
    Cls();
    SetRotation(90);
    DrawLine(100, 100, 110, 100); // turned to point down
    EXPECT_EQ(Rgb(100, 110), kWhite);
    EXPECT_EQ(Rgb(100, 105), kWhite);
    EXPECT_EQ(Rgb(110, 100), kBlack);
}

TEST_F(Draw2D, OvalsAndPolygonsFillTheirInside)
{
    Cls();
    DrawOval(100, 100, 50, 30);
    EXPECT_EQ(Rgb(125, 115), kWhite);
    EXPECT_EQ(Rgb(101, 115), kWhite);
    EXPECT_EQ(Rgb(101, 101), kBlack); // corners stay outside
    EXPECT_EQ(Rgb(148, 128), kBlack);
    DrawPoly({300, 300, 340, 300, 300, 340});
    EXPECT_EQ(Rgb(305, 305), kWhite);
    EXPECT_EQ(Rgb(335, 335), kBlack);
}

TEST_F(Draw2D, PixmapsGoOutAndComeBackTopRowFirst)
{
    auto pixmap = CreatePixmap(3, 2, PF_RGB888);
    const uint32_t colours[6] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF010203};
    for (int i = 0; i < 6; ++i)
        pixmap->WritePixel(i % 3, i / 3, colours[i]);
    SetBlend(BlendAlpha);
    SetAlpha(0.25f); // pixels are written as they are
    Cls();
    DrawPixmap(pixmap, 30, 40);
    auto back = GrabPixmap(30, 40, 3, 2);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->format, PF_RGBA8888);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back->ReadPixel(i % 3, i / 3), colours[i]) << i;
    EXPECT_EQ(Rgb(29, 40), kBlack);
    EXPECT_EQ(Rgb(30, 42), kBlack);
    EXPECT_EQ(GetBlend(), BlendAlpha);
    DrawRect(0, 0, 10, 10); // the blend mode is back in force
    EXPECT_NEAR(static_cast<int>(Rgb(5, 5) & 0xFF), 63, 1);
}

TEST_F(Draw2D, StateSurvivesSwitchingBetweenGraphics)
{
    SetColor(255, 0, 0);
    SetBlend(BlendSolid);
    auto first = CurrentGraphics();
    auto second = CreateGraphics(64, 64, 0, 0, 0);
    ASSERT_TRUE(second);
    SetGraphics(second);
    EXPECT_EQ(GraphicsWidth(), 64);
    EXPECT_EQ(GetBlend(), BlendMask); // its own fresh state
    SetGraphics(first);
    EXPECT_EQ(GraphicsWidth(), 512);
    Cls();
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(Rgb(5, 5), kRed);
    EXPECT_EQ(GetBlend(), BlendSolid);
    CloseGraphics(second);
}

TEST_F(Draw2D, NothingIsDrawnWithoutAnImageOrAFrame)
{
    Cls();
    DrawImage(nullptr, 10, 10);
    auto empty = TImage::Create(8, 8, 1, 0, 0, 0, 0);
    DrawImage(empty, 10, 10, 5); // no such frame
    EXPECT_EQ(Rgb(12, 12), kBlack);
}

TEST(Draw2DWithoutGraphics, SettersAndDrawsDoNothing)
{
    SetGraphicsDriver(nullptr, 0);
    ASSERT_EQ(TDraw2DGraphics::Current(), nullptr);
    SetColor(1, 2, 3);
    DrawRect(0, 0, 10, 10);
    DrawImage(nullptr, 0, 0);
    EXPECT_EQ(GrabPixmap(0, 0, 1, 1), nullptr);
    EXPECT_EQ(CurrentDraw2DDriver(), nullptr);
}

} // namespace

namespace {

// A scene in a real window, shown by a flip and photographed from the X server.
TEST_F(Draw2D, SceneShowsOnTheScreen)
{
    auto checker = CreatePixmap(32, 32, PF_RGBA8888);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            checker->WritePixel(x, y, ((x / 8 + y / 8) % 2) ? 0xFFFFD040 : 0xFF2060C0);
    auto image = TImage::Load(checker, 2, 0, 0, 0);
    image->handle_x = image->handle_y = 16;

    SetBlend(BlendAlpha);
    SetClsColor(50, 50, 50);
    Cls();
    SetColor(200, 30, 30);
    DrawRect(20, 20, 60, 40);
    SetColor(30, 200, 60);
    DrawOval(120, 20, 80, 50);
    SetColor(255, 255, 255);
    SetRotation(30);
    SetScale(3, 3);
    DrawImage(image, 256, 256);
    SetTransform(0, 1, 1);
    SetBlend(BlendLight);
    SetColor(120, 160, 255);
    SetAlpha(0.6f);
    for (int i = 0; i < 5; ++i)
        DrawOval(60.0f + i * 80, 400, 90, 90);
    SetBlend(BlendAlpha);
    SetAlpha(1);
    SetColor(255, 255, 0);
    SetLineWidth(3);
    DrawLine(10, 500, 500, 480);
    DrawPoly({400, 40, 480, 120, 360, 140});
    Flip(0);

    if (!std::getenv("DISPLAY") || std::system("command -v import >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs X and ImageMagick's import";
    ASSERT_EQ(std::system("import -window root draw2d_scene.png"), 0);
    auto shot = LoadPixmap("draw2d_scene.png");
    ASSERT_TRUE(shot);
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    const int left = desktop.w / 2 - 256, top = desktop.h / 2 - 256;
    auto at = [&](int x, int y) { return shot->ReadPixel(left + x, top + y) & 0xFFFFFF; };
    EXPECT_EQ(at(40, 40), 0xC81E1Eu);  // the red rectangle
    EXPECT_EQ(at(160, 45), 0x1EC83Cu); // the green oval
    EXPECT_EQ(at(5, 5), 0x323232u);    // the clear colour
    EXPECT_EQ(at(260, 272), 0x2060C0u); // the turned picture: texel (20, 20) lands 30 degrees round from (12, 12)
}

} // namespace

TEST_F(Draw2D, SelectingClosedGraphicsSelectsNothing)
{
    std::shared_ptr<TGraphics> g = CurrentGraphics();
    ASSERT_TRUE(g);
    CloseGraphics(g);
    EXPECT_EQ(g->Driver(), nullptr);
    SetGraphics(g);
    EXPECT_EQ(CurrentGraphics(), nullptr);
    EXPECT_EQ(TDraw2DGraphics::Current(), nullptr);
    EXPECT_EQ(GetGraphicsDriver(), GLDraw2DDriverInstance()) << "the driver stays selected";
    EXPECT_TRUE(OpenGraphics(64, 64, 0, 0, 0));
}
