#include "common/test_canvas.h"

#include <cstdlib>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"
#include "game/assets.h"

std::string BuiltPictures()
{
    const char* bin = std::getenv("BRIM_BIN_DIR");
    return bin ? std::string(bin) + "/gfx/" : std::string();
}

::testing::AssertionResult OpenTestCanvas(int scale)
{
    if (BuiltPictures().empty())
        return ::testing::AssertionFailure() << "BRIM_BIN_DIR names the folder holding gfx/";
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!GLDraw2DDriverInstance())
        return ::testing::AssertionFailure() << "no OpenGL video";
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    if (scale > 0)
        PlanWindow({{512 * scale, 512 * scale}, false, {}});
    if (!OpenGraphics(512, 512, 0, 0, scale > 0 ? GraphicsScalable : 0))
        return ::testing::AssertionFailure() << "the window did not open";
    const TWindowSize size = WindowClientSize();
    if (scale > 0 && (size.width != 512 * scale || size.height != 512 * scale))
        return ::testing::AssertionFailure() << "the window is " << size.width << "x" << size.height;
    SetBlend(BlendAlpha);
    return ::testing::AssertionSuccess();
}

void CloseTestCanvas()
{
    CloseOpenedGraphics();
    SetGraphicsDriver(nullptr);
}

std::shared_ptr<TImage> LoadCentredPicture(const std::string& name, bool denser)
{
    const std::string folder = BuiltPictures();
    auto image = LoadImageFile(folder + name, 0);
    CentreImageHandle(image);
    if (image && denser)
        for (int density : DenserVersions)
            image->AddDenserVersion(density, [path = folder + DenserName(name, density)] {
                const auto dense = TImage::Load(path, 0, 0, 0, 0);
                return dense ? dense->pixmaps : std::vector<std::shared_ptr<TPixmap>>{};
            });
    return image;
}
