// Scalable windows: the 512 by 512 drawing shown in a window of another size, through a real GL
// context under the X server, read back at the window's pixel size.
#include "draw2d/window.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <filesystem>
#include <unistd.h>

#include "common/temp_folder.h"
#include "draw2d/draw2d.h"
#include "draw2d/glcontext.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/pngsaver.h"
#include "system/event.h"
#include "system/input.h"
#include "system/sysdriver.h"

namespace {

constexpr uint32_t Grey = 0x323232, Red = 0xFF0000, Black = 0x000000;

class ScalableWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GLDraw2DDriverInstance())
            GTEST_SKIP() << "no video";
        SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
        SetWholeScaleOnly(false);
    }
    void TearDown() override
    {
        CloseOpenedGraphics();
        SetWholeScaleOnly(false);
    }

    static void Open(TWindowSize size)
    {
        PlanWindow({size, false});
        ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, GraphicsScalable));
    }
    static SDL_Window* Window() { return GLContextCurrent()->window; }

    // Resizes as a player would and lets one frame go by, as the game's loop does.
    static void Resize(int w, int h)
    {
        SDL_SetWindowSize(Window(), w, h);
        PumpSystemEvents();
        Flip(0);
    }

    // Grey canvas with a red 30 by 40 rectangle at (10, 20); the window as the next flip shows it.
    static std::shared_ptr<TPixmap> DrawAndGrab()
    {
        SetClsColor(0x32, 0x32, 0x32);
        Cls();
        SetColor(255, 0, 0);
        DrawRect(10, 20, 30, 40);
        return GrabWindowPixmap();
    }
    static uint32_t Rgb(const std::shared_ptr<TPixmap>& p, int x, int y) { return p->ReadPixel(x, y) & 0xFFFFFF; }
};

// What the renderer is shows only once the window has a context: it opens hidden at the planned
// size and shows at the software size when llvmpipe or its kin draws.
TEST_F(ScalableWindow, OpensAtTheSoftwareSizeWhenOpenGLDrawsInSoftware)
{
    PlanWindow({{1024, 1024}, false, {512, 512}});
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, GraphicsScalable));
    const TWindowSize expected = RendersInSoftware() ? TWindowSize{512, 512} : TWindowSize{1024, 1024};
    EXPECT_EQ(WindowClientSize(), expected);
    EXPECT_EQ(WindowedSize(), expected) << "fullscreen goes back to the size shown";
}

// A picture painted at twice its size shows at scale 2 what its own pixels cannot: an edge in the
// middle of one of them, sharp to one window pixel, where magnifying it (filtered, as the menu
// items are) spreads its one grey pixel over two. At scale 1 the picture itself is drawn.
TEST_F(ScalableWindow, AScaleDrawsThePictureVersionPaintedForIt)
{
    const auto row = [](int width, int height, const std::vector<uint32_t>& columns) {
        auto pixmap = CreatePixmap(width, height, PF_RGBA8888);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixmap->WritePixel(x, y, columns[static_cast<size_t>(x)]);
        return pixmap;
    };
    constexpr uint32_t Ink = 0xFF000000u, Paper = 0xFFFFFFFFu, Half = 0xFF808080u;
    auto image = TImage::Load(row(4, 2, {Paper, Half, Paper, Paper}), ImageFlagFiltered, 0, 0, 0);
    int loads = 0;
    image->AddDenserVersion(2, [&] {
        ++loads;
        return std::vector<std::shared_ptr<TPixmap>>{row(8, 4, {Paper, Paper, Ink, Paper, Paper, Paper, Paper, Paper})};
    });
    const auto draw = [&] {
        SetClsColor(0, 0, 0);
        Cls();
        SetColor(255, 255, 255);
        SetBlend(BlendSolid);
        DrawImage(image, 0, 0);
        return GrabWindowPixmap();
    };

    Open({512, 512});
    auto picture = draw();
    ASSERT_TRUE(picture);
    EXPECT_EQ(Rgb(picture, 1, 0), 0x808080u) << "the picture's own pixel";
    EXPECT_EQ(loads, 0) << "scale 1 never reads the denser version";

    Resize(1024, 1024);
    picture = draw();
    ASSERT_TRUE(picture);
    EXPECT_EQ(Rgb(picture, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(picture, 2, 0), Black) << "the edge falls between two window pixels";
    EXPECT_EQ(Rgb(picture, 3, 0), 0xFFFFFFu);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(image->width, 4) << "the image keeps its size";
    SetBlend(BlendAlpha);
}

TEST_F(ScalableWindow, OpensAtItsPlannedSizeAndDrawsTheCanvasAtTheWindowsResolution)
{
    Open({1024, 1024});
    EXPECT_EQ(GraphicsWidth(), 512) << "the program keeps drawing 512 by 512";
    EXPECT_EQ(GraphicsHeight(), 512);
    EXPECT_EQ(WindowClientSize(), (TWindowSize{1024, 1024}));
    EXPECT_TRUE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_RESIZABLE);

    const auto picture = DrawAndGrab();
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width, 1024);
    ASSERT_EQ(picture->height, 1024);
    EXPECT_EQ(Rgb(picture, 20, 40), Red);
    EXPECT_EQ(Rgb(picture, 79, 119), Red);
    EXPECT_EQ(Rgb(picture, 19, 40), Grey);
    EXPECT_EQ(Rgb(picture, 80, 40), Grey);
    EXPECT_EQ(Rgb(picture, 20, 120), Grey);

    // Half a canvas pixel is a whole window pixel: drawn at the window's resolution, not a
    // 512-pixel picture stretched afterwards.
    SetColor(0, 0, 255);
    DrawRect(100.5f, 100, 1, 1);
    const auto fine = GrabWindowPixmap();
    EXPECT_EQ(Rgb(fine, 200, 200), Grey);
    EXPECT_EQ(Rgb(fine, 201, 200), 0x0000FFu);
    EXPECT_EQ(Rgb(fine, 202, 200), 0x0000FFu);
    EXPECT_EQ(Rgb(fine, 203, 200), Grey);
}

TEST_F(ScalableWindow, AWiderWindowShowsTheCanvasCentredBetweenBlackBars)
{
    Open({512, 512});
    Resize(1200, 800);
    EXPECT_EQ(GraphicsWidth(), 512);
    EXPECT_EQ(CurrentCanvasFit().canvas, (TPixelRect{200, 0, 800, 800}));
    const auto picture = DrawAndGrab();
    ASSERT_EQ(picture->width, 1200);
    ASSERT_EQ(picture->height, 800);
    for (int y : {0, 400, 799}) {
        EXPECT_EQ(Rgb(picture, 0, y), Black);
        EXPECT_EQ(Rgb(picture, 199, y), Black);
        EXPECT_EQ(Rgb(picture, 1000, y), Black);
        EXPECT_EQ(Rgb(picture, 1199, y), Black);
        EXPECT_EQ(Rgb(picture, 600, y), Grey);
    }
    // The red rectangle at (10, 20) canvas, scaled by 800/512.
    EXPECT_EQ(Rgb(picture, 200 + 16, 32), Red);

    // A viewport at the canvas's edge still keeps drawing off the bars.
    SetViewport(0, 0, 600, 600);
    SetColor(0, 255, 0);
    DrawRect(-50, 0, 700, 700);
    const auto clipped = GrabWindowPixmap();
    EXPECT_EQ(Rgb(clipped, 100, 400), Black);
    EXPECT_EQ(Rgb(clipped, 1100, 400), Black);
    EXPECT_EQ(Rgb(clipped, 600, 400), 0x00FF00u);
    SetViewport(0, 0, 512, 512);
}

TEST_F(ScalableWindow, TheCursorIsReadInCanvasCoordinatesAndOverTheBarsIsOutside)
{
    Open({512, 512});
    Resize(1200, 800);
    const auto moveTo = [](int32_t x, int32_t y) {
        TEvent move;
        move.id = EVENT_MOUSEMOVE;
        move.x = x;
        move.y = y;
        move.Emit();
    };
    moveTo(600, 400);
    EXPECT_EQ(CursorX(), 256);
    EXPECT_EQ(CursorY(), 256);
    moveTo(100, 400);
    EXPECT_LT(CursorX(), 0);
    moveTo(1100, 400);
    EXPECT_GE(CursorX(), 512);
    // Resized under a still cursor: the same window position reads anew.
    Resize(1600, 800);
    EXPECT_EQ(CursorX(), 448); // the canvas now starts at 400 and is 800 wide

    CloseOpenedGraphics();
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, 0));
    moveTo(300, 200);
    EXPECT_EQ(CursorX(), 300) << "a window that does not scale reads window positions";
    EXPECT_EQ(CursorY(), 200);
}

TEST_F(ScalableWindow, WholeScalesLeaveTheRestAsBars)
{
    SetWholeScaleOnly(true);
    Open({1000, 900});
    EXPECT_EQ(CurrentCanvasFit().canvas, (TPixelRect{244, 194, 512, 512}));
    const auto picture = DrawAndGrab();
    EXPECT_EQ(Rgb(picture, 243, 450), Black);
    EXPECT_EQ(Rgb(picture, 244 + 10, 194 + 20), Red);
    EXPECT_EQ(Rgb(picture, 500, 194 + 512), Black);
    EXPECT_EQ(Rgb(picture, 500, 194 + 511), Grey);
}

TEST_F(ScalableWindow, PlainWindowsAreNotScalable)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, 0));
    EXPECT_FALSE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(WindowClientSize(), (TWindowSize{}));
    SetDesktopFullscreen(true);
    EXPECT_FALSE(IsDesktopFullscreen());
    EXPECT_EQ(CurrentCanvasFit().canvas, (TPixelRect{0, 0, 512, 512}));
    EXPECT_EQ(GrabWindowPixmap()->width, 512);
}

TEST(PngSaver, WritesWhatLoadsBackAndReportsAFailureWithoutAFile)
{
    TTempFolder temp("brim_png_saver");
    auto pixmap = CreatePixmap(3, 2, PF_RGBA8888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            pixmap->WritePixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 80) << 16 | static_cast<uint32_t>(y * 200));
    const std::string path = (temp.Path() / "shot.png").string();
    std::string error;
    ASSERT_TRUE(SavePixmapPNG(pixmap, path, error)) << error;
    const auto loaded = LoadPixmap(path);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->width, 3);
    ASSERT_EQ(loaded->height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(loaded->ReadPixel(x, y), pixmap->ReadPixel(x, y));

    const std::string nowhere = (temp.Path() / "missing" / "shot.png").string();
    EXPECT_FALSE(SavePixmapPNG(pixmap, nowhere, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_FALSE(SavePixmapPNG(nullptr, path + "2", error));
}

} // namespace
