#include <GL/gl.h>
#include <SDL.h>

#include <string>

#include "draw2d/glcontext.h"
#include "draw2d/pixmap.h"
#include "system/error.h"
#include "system/input.h"
#include "system/sysdriver_sdl.h"

namespace {

// Why the last window could not be opened; empty after one opened.
std::string g_windowFailure;


TGLContext* contexts_ = nullptr;      // newest first
TGLContext* current_ = nullptr;
TGLContext* mode_holder_ = nullptr;  // the fullscreen window holding a display mode
int32_t swap_interval_ = -1;         // last interval set by a flip; -1 = not yet

// Below this a scalable window's drawing would be too small to read.
constexpr int ScalableMinimumSide = 128;

// Without a display SDL falls back to drivers that show nothing; a window nobody can see is
// no window, unless such a driver was asked for by name (as the tests do).
bool VideoReady()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_windowFailure = std::string("no display to show it on (") + SDL_GetError() + ")";
        return false;
    }
    const char* chosen = SDL_GetCurrentVideoDriver();
    const bool invisible = chosen && (SDL_strcmp(chosen, "offscreen") == 0 || SDL_strcmp(chosen, "dummy") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        g_windowFailure = "no display to show it on (is DISPLAY or WAYLAND_DISPLAY set?)";
        return false;
    }
    return true;
}

// Pixel format from the flags: colour of any depth, the rest only when asked for.
void RequestPixelFormat(int32_t flags)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (flags & GraphicsBackBuffer) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, (flags & GraphicsAlphaBuffer) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (flags & GraphicsDepthBuffer) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & GraphicsStencilBuffer) ? 1 : 0);
    const int accum = (flags & GraphicsAccumBuffer) ? 1 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accum);
    // The drawing is fixed-function OpenGL 1.1.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
}

void Bind(TGLContext* context)
{
    if (context)
        SDL_GL_MakeCurrent(context->window, context->gl_context);
    else
        SDL_GL_MakeCurrent(nullptr, nullptr);
}

// Creates the GL context on window without leaving it current (SDL makes a new context current).
void* CreateContextFor(SDL_Window* window)
{
    SDL_GLContext context = SDL_GL_CreateContext(window);
    Bind(current_);
    return context;
}

bool DrawsInSoftware(SDL_Window* window, void* context)
{
    SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context));
    const bool software = GLRendererIsSoftware();
    Bind(current_);
    return software;
}

// The application's icon on a new window; a window without it keeps the system's default.
void GiveIcon(SDL_Window* window)
{
    const std::shared_ptr<TPixmap>& icon = AppIcon();
    if (!icon || icon->width <= 0 || icon->height <= 0)
        return;
    const std::shared_ptr<TPixmap> rgba = icon->Convert(PF_RGBA8888);
    if (!rgba)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(rgba->pixels, rgba->width, rgba->height, 32,
                                                              rgba->pitch, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return;
    SDL_SetWindowIcon(window, surface); // SDL copies the pixels
    SDL_FreeSurface(surface);
}

int32_t DepthOf(Uint32 format)
{
    // Windows counts a padded 8-8-8 format as 32 bits, as the game's modes expect.
    return SDL_BYTESPERPIXEL(format) == 4 ? 32 : static_cast<int32_t>(SDL_BITSPERPIXEL(format));
}

// Switches the display to a mode of exactly the record's size and depth, at its refresh rate
// when withHertz is set.
bool TrySwitchDisplay(TGLContext* record, bool withHertz)
{
    const int display = SDL_GetWindowDisplayIndex(record->window);
    const int count = display < 0 ? 0 : SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0)
            continue;
        if (mode.w != record->width || mode.h != record->height || DepthOf(mode.format) != record->depth)
            continue;
        if (withHertz && mode.refresh_rate != record->hertz)
            continue;
        if (SDL_SetWindowDisplayMode(record->window, &mode) == 0 &&
            SDL_SetWindowFullscreen(record->window, SDL_WINDOW_FULLSCREEN) == 0)
            return true;
    }
    return false;
}

void SwitchDisplay(TGLContext* record)
{
    bool withHertz = record->hertz != 0;
    bool switched = TrySwitchDisplay(record, withHertz);
    if (!switched && withHertz) {
        withHertz = false;
        switched = TrySwitchDisplay(record, false);
    }
    if (!switched)
        throw TRuntimeError("GLGraphicsDriver failed to set display mode");
    mode_holder_ = record;
    SetSwapInterval(withHertz ? 1 : 0);
}

void RestoreDisplay(TGLContext* record)
{
    if (mode_holder_ != record)
        return;
    SDL_SetWindowFullscreen(record->window, 0);
    SDL_MinimizeWindow(record->window);
    SetSwapInterval(0);
    mode_holder_ = nullptr;
}

// The window's own handling, after the input layer has turned the event into its events.
void WindowProc(const SDL_Event& event, void* context)
{
    auto* record = static_cast<TGLContext*>(context);
    if (event.type == SDL_KEYDOWN && !event.key.repeat && GLContextIsScalable(record) &&
        (event.key.keysym.sym == SDLK_F11 ||
         (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)))) {
        // Judged on the key's own event: a quick Alt+Enter is over before the next frame looks.
        GLContextSetDesktopFullscreen(record, !GLContextIsDesktopFullscreen(record));
        return;
    }
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & KMOD_ALT) &&
        !event.key.repeat) {
        // Alt+F4 asks to close, like the close box; the input layer reports the request.
        SDL_Event close{};
        close.type = SDL_WINDOWEVENT;
        close.window.windowID = SDL_GetWindowID(record->window);
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&close);
        return;
    }
    if (event.type != SDL_WINDOWEVENT)
        return;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (record->kind == GLContextFullscreen && mode_holder_ != record)
            SwitchDisplay(record);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        RestoreDisplay(record);
        break;
    default: // a close request leaves the window open; nothing is redrawn on expose
        break;
    }
}

TGLContext* Link(TGLContext* record)
{
    record->next = contexts_;
    contexts_ = record;
    return record;
}

bool Unlink(TGLContext* record)
{
    for (TGLContext** link = &contexts_; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            record->next = nullptr;
            return true;
        }
    }
    return false;
}

} // namespace

std::string WindowOpenFailure() { return g_windowFailure; }

bool GLRendererIsSoftware()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer)
        return false;
    const std::string name = renderer;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
        if (name.find(software) != std::string::npos)
            return true;
    return false;
}

TGLContext* GLContextCreate(int32_t width, int32_t height, int32_t depth, int32_t hertz, int32_t flags)
{
    if (!VideoReady() || width <= 0 || height <= 0)
        return nullptr;
    RequestPixelFormat(flags);
    const bool fullscreen = depth != 0;
    const bool scalable = !fullscreen && (flags & GraphicsScalable) != 0;
    // Captioned and centred. A plain window is not resizable and has no maximise box, its client
    // area exactly the size asked for; a scalable one opens at its planned size.
    Uint32 windowFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int x = static_cast<int>(SDL_WINDOWPOS_CENTERED), y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
    TWindowSize size{width, height};
    const TWindowPlan plan = scalable ? TakeWindowPlan() : TWindowPlan{};
    if (fullscreen) {
        windowFlags |= SDL_WINDOW_BORDERLESS;
        x = y = 0;
    }
    if (scalable) {
        windowFlags |= SDL_WINDOW_RESIZABLE | (plan.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (plan.size.width > 0 && plan.size.height > 0)
            size = plan.size;
    }
    SDL_Window* window = SDL_CreateWindow(AppTitle().c_str(), x, y, size.width, size.height, windowFlags);
    if (!window) {
        g_windowFailure = std::string("the display refused an OpenGL window (") + SDL_GetError() + ")";
        return nullptr;
    }
    void* glContext = CreateContextFor(window);
    if (!glContext) {
        g_windowFailure = std::string("no OpenGL context for it (") + SDL_GetError() + ")";
        SDL_DestroyWindow(window);
        return nullptr;
    }
    g_windowFailure.clear();

    auto* record = new TGLContext;
    record->kind = fullscreen ? GLContextFullscreen : GLContextWindowed;
    // Hidden still: a software renderer's smaller size is the first one shown.
    const TWindowSize software = plan.softwareSize;
    if (scalable && !plan.fullscreen && software.width > 0 && software.height > 0 && DrawsInSoftware(window, glContext)) {
        SDL_SetWindowSize(window, software.width, software.height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        size = software;
    }
    if (scalable) {
        record->width = width;
        record->height = height;
        record->windowed_width = size.width;
        record->windowed_height = size.height;
        SDL_SetWindowMinimumSize(window, ScalableMinimumSide, ScalableMinimumSide);
        SetCursorMapping(MapWindowPointToCanvas);
    } else {
        SDL_GetWindowSize(window, &record->width, &record->height);
    }
    record->depth = depth;
    record->hertz = hertz;
    record->flags = flags;
    record->window = window;
    record->gl_context = glContext;
    Link(record);
    RegisterSDLWindow(window, WindowProc, record);
    GiveIcon(window);
    SDL_ShowWindow(window);
    if (fullscreen) {
        // The window takes focus as it shows, and with it the display mode.
        try {
            SwitchDisplay(record);
            SDL_RaiseWindow(window);
        } catch (...) {
            GLContextClose(record);
            throw;
        }
    }
    return record;
}

TGLContext* GLContextAttach(SDL_Window* window, int32_t flags)
{
    if (!window || !VideoReady())
        return nullptr;
    RequestPixelFormat(flags);
    void* glContext = CreateContextFor(window);
    if (!glContext)
        return nullptr;
    auto* record = new TGLContext;
    record->kind = GLContextAttached;
    SDL_GetWindowSize(window, &record->width, &record->height);
    record->flags = flags;
    record->window = window;
    record->gl_context = glContext;
    return Link(record);
}

void GLContextGetSettings(TGLContext* context, int32_t& width, int32_t& height, int32_t& depth,
                          int32_t& hertz, int32_t& flags)
{
    if (context->kind == GLContextAttached) // a foreign window may have been resized
        SDL_GetWindowSize(context->window, &context->width, &context->height);
    width = context->width;
    height = context->height;
    depth = context->depth;
    hertz = context->hertz;
    flags = context->flags;
}

void GLContextClose(TGLContext* context)
{
    if (!context || !Unlink(context))
        return;
    if (current_ == context)
        GLContextMakeCurrent(nullptr);
    SDL_GL_DeleteContext(context->gl_context);
    if (GLContextIsScalable(context))
        SetCursorMapping(nullptr);
    if (context->kind != GLContextAttached) {
        RestoreDisplay(context);
        UnregisterSDLWindow(context->window);
        SDL_DestroyWindow(context->window);
    }
    delete context;
}

void GLContextMakeCurrent(TGLContext* context)
{
    if (context == current_)
        return;
    current_ = context;
    Bind(context);
}

TGLContext* GLContextCurrent() { return current_; }

bool GLContextIsScalable(const TGLContext* context)
{
    return context->kind == GLContextWindowed && (context->flags & GraphicsScalable) != 0;
}

void GLContextFlip(int32_t sync)
{
    if (!current_)
        return;
    const int32_t interval = sync ? 1 : 0;
    if (interval != swap_interval_) {
        swap_interval_ = interval;
        SetSwapInterval(interval);
    }
    SDL_GL_SwapWindow(current_->window);
}

int32_t GLContextEnumModes(TGraphicsMode* buffer, int32_t capacity)
{
    if (!VideoReady())
        return 0;
    const int available = SDL_GetNumDisplayModes(0);
    int32_t count = 0;
    for (int i = 0; i < available && count < capacity; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            break;
        const int32_t depth = DepthOf(mode.format);
        if (depth <= 15)
            continue;
        buffer[count++] = {mode.w, mode.h, depth, mode.refresh_rate};
    }
    return count;
}

int32_t GLContextDisplayHertz()
{
    if (!current_)
        return 0;
    const int display = SDL_GetWindowDisplayIndex(current_->window);
    SDL_DisplayMode mode;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0)
        return 0;
    return mode.refresh_rate;
}

void SetSwapInterval(int32_t interval)
{
    // Without swap control this fails quietly; soft pacing still holds the frame rate.
    SDL_GL_SetSwapInterval(interval);
}

// Graphics over a context record

TGLGraphics::~TGLGraphics() { Close(); }

TGraphicsDriver* TGLGraphics::Driver() { return GLGraphicsDriver(); }

void TGLGraphics::GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz, int32_t& flags)
{
    width = height = depth = hertz = flags = 0;
    if (_context)
        GLContextGetSettings(_context, width, height, depth, hertz, flags);
}

void TGLGraphics::Close()
{
    if (!_context)
        return;
    GLContextClose(_context);
    _context = nullptr;
}

std::vector<TGraphicsMode> TGLGraphicsDriver::GraphicsModes()
{
    std::vector<TGraphicsMode> modes(1024);
    modes.resize(static_cast<size_t>(GLContextEnumModes(modes.data(), static_cast<int32_t>(modes.size()))));
    return modes;
}

std::shared_ptr<TGraphics> TGLGraphicsDriver::AttachGraphics(void* widget, int32_t flags)
{
    TGLContext* context = GLContextAttach(static_cast<SDL_Window*>(widget), flags);
    return context ? std::make_shared<TGLGraphics>(context) : nullptr;
}

std::shared_ptr<TGraphics> TGLGraphicsDriver::CreateGraphics(int32_t width, int32_t height, int32_t depth,
                                                             int32_t hertz, int32_t flags)
{
    TGLContext* context = GLContextCreate(width, height, depth, hertz, flags);
    return context ? std::make_shared<TGLGraphics>(context) : nullptr;
}

void TGLGraphicsDriver::SetGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    auto* gl = dynamic_cast<TGLGraphics*>(graphics.get());
    GLContextMakeCurrent(gl ? gl->_context : nullptr);
}

void TGLGraphicsDriver::Flip(int32_t sync) { GLContextFlip(sync); }

int32_t TGLGraphicsDriver::DisplayHertz() { return GLContextDisplayHertz(); }

TGLGraphicsDriver* GLGraphicsDriver()
{
    static TGLGraphicsDriver* driver = nullptr;
    if (!driver && VideoReady())
        driver = new TGLGraphicsDriver;
    return driver;
}
