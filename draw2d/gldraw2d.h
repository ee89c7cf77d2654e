#pragma once
#include <GL/gl.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/gldriver.h"
#include "draw2d/imageframe.h"

class TGLGraphicsDriver;

// The GL state calls the driver caches; tests swap in counting versions.
struct TGLStateCalls {
    void (*Enable)(GLenum cap) = glEnable;
    void (*Disable)(GLenum cap) = glDisable;
    void (*BlendFunc)(GLenum sfactor, GLenum dfactor) = glBlendFunc;
    void (*AlphaFunc)(GLenum func, GLclampf ref) = glAlphaFunc;
    void (*BindTexture)(GLenum target, GLuint texture) = glBindTexture;
};
TGLStateCalls& GLStateCalls();

// A rectangle of a picture's texels.
struct TTexelRect {
    int32_t x, y, width, height;
};

// One image frame held as an OpenGL texture of power-of-two size.
class TGLImageFrame : public TImageFrame {
public:
    ~TGLImageFrame() override;
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy, float sw,
              float sh) override;
    void SetDensity(int32_t density) override;
    // Throws TRuntimeError "Unable to calculate tex size" when no texture size fits.
    static std::shared_ptr<TGLImageFrame> CreateFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                           int32_t flags);

    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    float uscale = 1, vscale = 1;
    int32_t name = 0;
    int32_t seq = 0;
    bool opaque = false; // every pixel of the picture has full alpha
    // The parts of a large picture that hold anything visible, in texels, when it has clear parts
    // to leave out (else empty), and the picture's size they divide, in the image's pixels.
    std::vector<TTexelRect> visible;
    float visibleWidth = 0, visibleHeight = 0;
    float texelsPerPixel = 1; // the density of a version painted denser

private:
    void Quad(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy, float sw,
              float sh) const;
};

// The 2D driver over fixed-function OpenGL.
class TGLDraw2DDriver : public TDraw2DDriver {
public:
    // None when the GL graphics driver can't be had.
    static TGLDraw2DDriver* Create();

    std::vector<TGraphicsMode> GraphicsModes() override;
    std::shared_ptr<TGraphics> AttachGraphics(void* widget, int32_t flags) override;
    std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth,
                                              int32_t hertz, int32_t flags) override;
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override;
    void Flip(int32_t sync) override;
    int32_t DisplayHertz() override;
    std::string ToString() const override { return "OpenGL"; }

    // Forgets the GL state caches and sets up a pixel-for-pixel projection for g.
    void ResetGLContext(const std::shared_ptr<TGraphics>& graphics);

    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                       int32_t flags) override;
    void SetBlend(int32_t mode) override;
    void SetAlpha(float alpha) override;
    void SetColor(int32_t red, int32_t green, int32_t blue) override;
    void SetClsColor(int32_t red, int32_t green, int32_t blue) override;
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const std::vector<float>& xy, float handleX, float handleY, float tx, float ty) override;
    void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t x, int32_t y) override;
    std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetResolution(float width, float height) override;

private:
    explicit TGLDraw2DDriver(TGLGraphicsDriver* glDriver) : gl_driver_(glDriver) {}
    TGLGraphicsDriver* gl_driver_;
};

// Whether the driver may skip work that changes no pixel: a clear that the next opaque picture
// covers wholly, the clear parts of large pictures, and the colour's multiply for pictures drawn
// in white (on unless turned off, so a test or a bench can draw the same frame both ways).
void SetDrawShortcuts(bool on);
// Does a clear asked for and not yet done, before GL is read directly.
void FinishPendingClear();

// Number of segments DrawOval uses for radii xr, yr.
int32_t OvalSegments(float xr, float yr);
