#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "draw2d/graphics.h"

class TImage;
class TImageFont;
class TImageFrame;
class TPixmap;

enum : int32_t {
    BlendMask = 1,  // opaque; texels with alpha below 0.5 are discarded
    BlendSolid = 2, // opaque, no blending
    BlendAlpha = 3, // source over destination by source alpha
    BlendLight = 4, // destination + source * source alpha
    BlendShade = 5, // destination * source colour
};

// A graphics driver that also draws. Shape corners come relative to the drawing point (tx, ty);
// a corner (x, y) lands at (x * ix + y * iy + tx, x * jx + y * jy + ty).
class TDraw2DDriver : public TGraphicsDriver {
public:
    // None when no frame can be made from the pixmap.
    virtual std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                               int32_t flags) = 0;
    virtual void SetBlend(int32_t mode) = 0;
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int32_t red, int32_t green, int32_t blue) = 0;
    virtual void SetClsColor(int32_t red, int32_t green, int32_t blue) = 0;
    // Device pixels.
    virtual void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    virtual void SetLineWidth(float width) = 0;
    virtual void Cls() = 0;
    virtual void Plot(float x, float y) = 0;
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // xy holds x, y pairs; each point is offset by (handleX, handleY) before mapping.
    virtual void DrawPoly(const std::vector<float>& xy, float handleX, float handleY, float tx,
                          float ty) = 0;
    virtual void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t x, int32_t y) = 0;
    // A new RGBA8888 pixmap of the surface rectangle, top row first.
    virtual std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void SetResolution(float width, float height) = 0;
};

// The drawing state of one surface, wrapping the surface of the graphics driver. Its settings stay
// in force until changed.
class TDraw2DGraphics : public TGraphics {
public:
    int32_t color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1;
    int32_t clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1;
    float tform_rot = 0;
    float tform_scale_x = 1, tform_scale_y = 1;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    int32_t viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0; // negated: SetHandle(x, y) stores -x, -y
    std::shared_ptr<TImageFont> image_font;
    int32_t blend_mode = BlendMask;
    float vres_width = 0, vres_height = 0;
    float vres_mousexscale = 1, vres_mouseyscale = 1;
    int32_t g_width = 0, g_height = 0;
    std::shared_ptr<TGraphics> _graphics;
    TDraw2DDriver* _driver = nullptr;
    int32_t _setup = 0;

    // The 2D driver that made this graphics (not the wrapped surface's driver, so that selecting
    // this graphics keeps the 2D driver current).
    TGraphicsDriver* Driver() override;
    void GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                     int32_t& flags) override;
    void Close() override;
    // Picks up a changed surface size and re-issues every setting to the driver.
    virtual void Validate();
    // Makes this the current drawing state; the first time also clears both buffers.
    virtual void MakeCurrent();

    static void ClearCurrent();
    static TDraw2DGraphics* Current();
    static std::shared_ptr<TDraw2DGraphics> Create(const std::shared_ptr<TGraphics>& graphics,
                                                   TDraw2DDriver* driver);
};

// The driver of the current drawing state; none until graphics are made current.
TDraw2DDriver* CurrentDraw2DDriver();

// State. Each setter stores into the current TDraw2DGraphics and passes the value on to the driver.
void SetColor(int32_t red, int32_t green, int32_t blue);
void GetColor(int32_t& red, int32_t& green, int32_t& blue);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int32_t mode);
int32_t GetBlend();
void SetClsColor(int32_t red, int32_t green, int32_t blue);
void GetClsColor(int32_t& red, int32_t& green, int32_t& blue);
void Cls();
void SetLineWidth(float width);
float GetLineWidth();
void SetRotation(float degrees);
float GetRotation();
void SetScale(float scaleX, float scaleY);
void GetScale(float& scaleX, float& scaleY);
void SetTransform(float degrees = 0, float scaleX = 1, float scaleY = 1);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
// Virtual units.
void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);
void GetViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
void SetVirtualResolution(float width, float height);
float VirtualResolutionWidth();
float VirtualResolutionHeight();
// None selects the built-in default font.
void SetImageFont(const std::shared_ptr<TImageFont>& font);
std::shared_ptr<TImageFont> GetImageFont();

// Drawing; positions in virtual units, before the origin is added.
void Plot(float x, float y);
void DrawRect(float x, float y, float width, float height);
void DrawOval(float x, float y, float width, float height);
void DrawLine(float x0, float y0, float x1, float y1, int32_t last = 1);
void DrawPoly(const std::vector<float>& xy);
// Turned and scaled about (x, y), where the image's handle lands. None draws nothing.
void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame = 0);
void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t x, int32_t y);
std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height);
