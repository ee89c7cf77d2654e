#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "draw2d/graphics.h"
#include "draw2d/window.h"

struct SDL_Window;

// Kinds of context record.
enum : int32_t {
    GLContextAttached = 1,   // drawn into a foreign window
    GLContextWindowed = 2,   // own window
    GLContextFullscreen = 3, // own window holding a display mode while focused
};

// One open OpenGL context with its window. The layer keeps all of them in a list, newest first.
struct TGLContext {
    TGLContext* next = nullptr;
    int32_t kind = 0;
    int32_t width = 0, height = 0; // client size in pixels; for a scalable window, the drawing's size
    int32_t depth = 0, hertz = 0, flags = 0;
    SDL_Window* window = nullptr;
    void* gl_context = nullptr; // SDL_GLContext
    int32_t windowed_width = 0, windowed_height = 0; // a scalable window's size outside fullscreen
};

// Made with GraphicsScalable as a window (not fullscreen).
bool GLContextIsScalable(const TGLContext* context);
// The window's own switch of desktop fullscreen (window.h), also asked for by its keys.
bool GLContextIsDesktopFullscreen(const TGLContext* context);
void GLContextSetDesktopFullscreen(TGLContext* context, bool on);
// The OpenGL context made current last draws on the processor (its renderer names a software one).
bool GLRendererIsSoftware();
// The plan PlanWindow left for the next scalable window; taking it resets it.
TWindowPlan TakeWindowPlan();

// None when the window, pixel format or context can't be made.
TGLContext* GLContextCreate(int32_t width, int32_t height, int32_t depth, int32_t hertz, int32_t flags);
TGLContext* GLContextAttach(SDL_Window* window, int32_t flags);
void GLContextGetSettings(TGLContext* context, int32_t& width, int32_t& height, int32_t& depth,
                          int32_t& hertz, int32_t& flags);
// Frees the record.
void GLContextClose(TGLContext* context);
// None unbinds every context.
void GLContextMakeCurrent(TGLContext* context);
TGLContext* GLContextCurrent();
// Swaps the current context's buffers; sync non-zero waits for the vertical retrace.
void GLContextFlip(int32_t sync);
// Display modes of more than 16 bits per pixel, at most capacity of them; returns the count.
int32_t GLContextEnumModes(TGraphicsMode* buffer, int32_t capacity);
void SetSwapInterval(int32_t interval);
// The refresh rate of the display the current context's window is on; 0 when unknown.
int32_t GLContextDisplayHertz();

class TGLGraphics : public TGraphics {
public:
    explicit TGLGraphics(TGLContext* context) : _context(context) {}
    ~TGLGraphics() override;
    TGraphicsDriver* Driver() override;
    void GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                     int32_t& flags) override;
    void Close() override;

    TGLContext* _context = nullptr;
};

class TGLGraphicsDriver : public TGraphicsDriver {
public:
    std::vector<TGraphicsMode> GraphicsModes() override;
    std::shared_ptr<TGraphics> AttachGraphics(void* widget, int32_t flags) override;
    std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth,
                                              int32_t hertz, int32_t flags) override;
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override;
    void Flip(int32_t sync) override;
    int32_t DisplayHertz() override;
};

// The one GL graphics driver, made on first call; none when the platform has no video.
TGLGraphicsDriver* GLGraphicsDriver();
