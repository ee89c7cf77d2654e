#include "draw2d/window.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <utility>

#include "draw2d/glcontext.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/pixmap.h"

namespace {

TWindowPlan g_plan;
bool g_wholeScale = false;

// The current context when it is a scalable window.
TGLContext* ScalableContext()
{
    TGLContext* context = GLContextCurrent();
    return context && GLContextIsScalable(context) ? context : nullptr;
}

TWindowSize SizeOf(SDL_Window* window)
{
    TWindowSize size;
    SDL_GetWindowSize(window, &size.width, &size.height);
    return size;
}

} // namespace

void PlanWindow(const TWindowPlan& plan) { g_plan = plan; }

TWindowPlan TakeWindowPlan() { return std::exchange(g_plan, TWindowPlan{}); }

void SetWholeScaleOnly(bool on) { g_wholeScale = on; }

bool WholeScaleOnly() { return g_wholeScale; }

TWindowSize UsableDesktopSize()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return {};
    // A driver that shows nothing has no desktop for a window to fit in.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0))
        return {};
    const TGLContext* context = GLContextCurrent();
    const int display = context ? std::max(SDL_GetWindowDisplayIndex(context->window), 0) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0)
        return {};
    return {usable.w, usable.h};
}

bool RendersInSoftware() { return GLContextCurrent() && GLRendererIsSoftware(); }

bool GLContextIsDesktopFullscreen(const TGLContext* context)
{
    return GLContextIsScalable(context) &&
           (SDL_GetWindowFlags(context->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void GLContextSetDesktopFullscreen(TGLContext* context, bool on)
{
    if (!GLContextIsScalable(context) || on == GLContextIsDesktopFullscreen(context))
        return;
    if (on) {
        const TWindowSize size = SizeOf(context->window);
        context->windowed_width = size.width;
        context->windowed_height = size.height;
        SDL_SetWindowFullscreen(context->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(context->window, 0);
    // Window managers differ in what they give back after fullscreen; the size is asked for again.
    SDL_SetWindowSize(context->window, context->windowed_width, context->windowed_height);
}

bool IsDesktopFullscreen()
{
    const TGLContext* context = GLContextCurrent();
    return context && GLContextIsDesktopFullscreen(context);
}

bool IsWindowHidden()
{
    const TGLContext* context = GLContextCurrent();
    return context && (SDL_GetWindowFlags(context->window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0;
}

void SetDesktopFullscreen(bool on)
{
    if (TGLContext* context = GLContextCurrent())
        GLContextSetDesktopFullscreen(context, on);
}

TWindowSize WindowClientSize()
{
    const TGLContext* context = ScalableContext();
    return context ? SizeOf(context->window) : TWindowSize{};
}

TWindowSize WindowedSize()
{
    const TGLContext* context = ScalableContext();
    if (!context)
        return {};
    if (IsDesktopFullscreen())
        return {context->windowed_width, context->windowed_height};
    return SizeOf(context->window);
}

void SetWindowedSize(TWindowSize size)
{
    TGLContext* context = ScalableContext();
    if (!context)
        return;
    context->windowed_width = size.width;
    context->windowed_height = size.height;
    if (!IsDesktopFullscreen())
        SDL_SetWindowSize(context->window, size.width, size.height);
}

TCanvasFit CurrentCanvasFit()
{
    TGLContext* context = GLContextCurrent();
    if (!context)
        return {};
    int32_t width = 0, height = 0, depth, hertz, flags;
    GLContextGetSettings(context, width, height, depth, hertz, flags);
    if (!GLContextIsScalable(context))
        return FitCanvas(width, height, width, height, false);
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(context->window, &drawableWidth, &drawableHeight);
    return FitCanvas(drawableWidth, drawableHeight, width, height, g_wholeScale);
}

void MapWindowPointToCanvas(int32_t& x, int32_t& y)
{
    const TGLContext* context = ScalableContext();
    if (!context)
        return;
    const TWindowSize window = SizeOf(context->window);
    WindowToCanvas(FitCanvas(window.width, window.height, context->width, context->height, g_wholeScale), x, y);
}

std::shared_ptr<TPixmap> GrabWindowPixmap()
{
    TGLContext* context = GLContextCurrent();
    if (!context)
        return nullptr;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(context->window, &width, &height);
    if (width <= 0 || height <= 0)
        return nullptr;
    FinishPendingClear();
    std::shared_ptr<TPixmap> pixmap = CreatePixmap(width, height, PF_RGBA8888);
    glPixelStorei(GL_PACK_ROW_LENGTH, pixmap->pitch / 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixmap->pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // GL reads rows bottom up (from the back buffer of a double-buffered window); what is shown
    // has no see-through parts.
    std::shared_ptr<TPixmap> picture = YFlipPixmap(pixmap);
    for (int32_t y = 0; y < picture->height; ++y) {
        uint8_t* row = picture->PixelPtr(0, y);
        for (int32_t x = 0; x < picture->width; ++x)
            row[x * 4 + 3] = 255;
    }
    return picture;
}
