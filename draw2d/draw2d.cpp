#include "draw2d/draw2d.h"

#include <cmath>
#include <numbers>

#include "draw2d/image.h"
#include "draw2d/imagefont.h"
#include "draw2d/imageframe.h"

namespace {

TDraw2DGraphics* current_ = nullptr;
TDraw2DDriver* current_driver_ = nullptr;

// Recomputes the matrix from rotation and scale and hands it to the driver. Frames set the
// scale and rotation thousands of times, mostly to the same angle, so the sine and cosine of the
// last angle are kept.
void UpdateTransform(TDraw2DGraphics& g)
{
    static float angle = 0, s = 0, c = 1;
    if (g.tform_rot != angle) {
        const double radians = g.tform_rot * (std::numbers::pi / 180.0);
        angle = g.tform_rot;
        s = static_cast<float>(std::sin(radians));
        c = static_cast<float>(std::cos(radians));
    }
    g.tform_ix = c * g.tform_scale_x;
    g.tform_iy = -s * g.tform_scale_y;
    g.tform_jx = s * g.tform_scale_x;
    g.tform_jy = c * g.tform_scale_y;
    g._driver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

} // namespace

TGraphicsDriver* TDraw2DGraphics::Driver() { return _driver; }

void TDraw2DGraphics::GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                                  int32_t& flags)
{
    width = height = depth = hertz = flags = 0;
    if (_graphics)
        _graphics->GetSettings(width, height, depth, hertz, flags);
}

void TDraw2DGraphics::Close()
{
    if (current_ == this)
        ClearCurrent();
    if (_graphics)
        _graphics->Close();
    _graphics.reset();
    _driver = nullptr;
}

void TDraw2DGraphics::Validate()
{
    int32_t width, height, depth, hertz, flags;
    GetSettings(width, height, depth, hertz, flags);
    if (width != g_width || height != g_height) {
        g_width = width;
        g_height = height;
        vres_width = static_cast<float>(width);
        vres_height = static_cast<float>(height);
        vres_mousexscale = vres_mouseyscale = 1;
    }
    SetVirtualResolution(vres_width, vres_height);
    SetBlend(blend_mode);
    SetColor(color_red, color_green, color_blue);
    SetAlpha(color_alpha);
    SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    SetLineWidth(line_width);
    SetRotation(tform_rot);
    SetScale(tform_scale_x, tform_scale_y);
    SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
    SetOrigin(origin_x, origin_y);
    SetHandle(-handle_x, -handle_y);
    SetImageFont(image_font);
}

void TDraw2DGraphics::MakeCurrent()
{
    current_ = this;
    current_driver_ = _driver;
    Validate();
    if (_setup == 0) {
        // Both buffers start in the clear colour.
        ::Cls();
        ::Flip(0);
        ::Cls();
        ::Flip(0);
        _setup = 1;
    }
}

void TDraw2DGraphics::ClearCurrent()
{
    current_ = nullptr;
    current_driver_ = nullptr;
}

TDraw2DGraphics* TDraw2DGraphics::Current() { return current_; }

std::shared_ptr<TDraw2DGraphics> TDraw2DGraphics::Create(const std::shared_ptr<TGraphics>& graphics,
                                                         TDraw2DDriver* driver)
{
    int32_t width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
    graphics->GetSettings(width, height, depth, hertz, flags);
    auto g = std::make_shared<TDraw2DGraphics>();
    g->viewport_w = width;
    g->viewport_h = height;
    g->image_font = TImageFont::Default();
    g->vres_width = static_cast<float>(width);
    g->vres_height = static_cast<float>(height);
    g->g_width = width;
    g->g_height = height;
    g->_graphics = graphics;
    g->_driver = driver;
    return g;
}

TDraw2DDriver* CurrentDraw2DDriver() { return current_driver_; }

// Outside the contract without current graphics; the setters and draws then do nothing.

void SetColor(int32_t red, int32_t green, int32_t blue)
{
    if (!current_)
        return;
    current_->color_red = red;
    current_->color_green = green;
    current_->color_blue = blue;
    current_driver_->SetColor(red, green, blue);
}

void GetColor(int32_t& red, int32_t& green, int32_t& blue)
{
    red = current_ ? current_->color_red : 0;
    green = current_ ? current_->color_green : 0;
    blue = current_ ? current_->color_blue : 0;
}

void SetAlpha(float alpha)
{
    if (!current_)
        return;
    current_->color_alpha = alpha;
    current_driver_->SetAlpha(alpha);
}

float GetAlpha() { return current_ ? current_->color_alpha : 0; }

void SetBlend(int32_t mode)
{
    if (!current_)
        return;
    current_->blend_mode = mode;
    current_driver_->SetBlend(mode);
}

int32_t GetBlend() { return current_ ? current_->blend_mode : 0; }

void SetClsColor(int32_t red, int32_t green, int32_t blue)
{
    if (!current_)
        return;
    current_->clscolor_red = red;
    current_->clscolor_green = green;
    current_->clscolor_blue = blue;
    current_driver_->SetClsColor(red, green, blue);
}

void GetClsColor(int32_t& red, int32_t& green, int32_t& blue)
{
    red = current_ ? current_->clscolor_red : 0;
    green = current_ ? current_->clscolor_green : 0;
    blue = current_ ? current_->clscolor_blue : 0;
}

void Cls()
{
    if (current_)
        current_driver_->Cls();
}

void SetLineWidth(float width)
{
    if (!current_)
        return;
    current_->line_width = width;
    current_driver_->SetLineWidth(width);
}

float GetLineWidth() { return current_ ? current_->line_width : 0; }

void SetRotation(float degrees)
{
    if (!current_)
        return;
    current_->tform_rot = degrees;
    UpdateTransform(*current_);
}

float GetRotation() { return current_ ? current_->tform_rot : 0; }

void SetScale(float scaleX, float scaleY)
{
    if (!current_)
        return;
    current_->tform_scale_x = scaleX;
    current_->tform_scale_y = scaleY;
    UpdateTransform(*current_);
}

void GetScale(float& scaleX, float& scaleY)
{
    scaleX = current_ ? current_->tform_scale_x : 0;
    scaleY = current_ ? current_->tform_scale_y : 0;
}

void SetTransform(float degrees, float scaleX, float scaleY)
{
    if (!current_)
        return;
    current_->tform_rot = degrees;
    current_->tform_scale_x = scaleX;
    current_->tform_scale_y = scaleY;
    UpdateTransform(*current_);
}

void SetOrigin(float x, float y)
{
    if (!current_)
        return;
    current_->origin_x = x;
    current_->origin_y = y;
}

void GetOrigin(float& x, float& y)
{
    x = current_ ? current_->origin_x : 0;
    y = current_ ? current_->origin_y : 0;
}

void SetHandle(float x, float y)
{
    if (!current_)
        return;
    current_->handle_x = -x;
    current_->handle_y = -y;
}

void GetHandle(float& x, float& y)
{
    x = current_ ? -current_->handle_x : 0;
    y = current_ ? -current_->handle_y : 0;
}

void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!current_)
        return;
    TDraw2DGraphics& g = *current_;
    g.viewport_x = x;
    g.viewport_y = y;
    g.viewport_w = width;
    g.viewport_h = height;
    const float xs = g.vres_mousexscale, ys = g.vres_mouseyscale;
    const auto left = static_cast<int32_t>(std::floor(x / xs));
    const auto top = static_cast<int32_t>(std::floor(y / ys));
    const auto right = static_cast<int32_t>(std::floor((x + width) / xs));
    const auto bottom = static_cast<int32_t>(std::floor((y + height) / ys));
    current_driver_->SetViewport(left, top, right - left, bottom - top);
}

void GetViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height)
{
    x = current_ ? current_->viewport_x : 0;
    y = current_ ? current_->viewport_y : 0;
    width = current_ ? current_->viewport_w : 0;
    height = current_ ? current_->viewport_h : 0;
}

void SetVirtualResolution(float width, float height)
{
    if (!current_)
        return;
    TDraw2DGraphics& g = *current_;
    g.vres_width = width;
    g.vres_height = height;
    // A surface of no size keeps one unit per pixel rather than an infinite scale.
    g.vres_mousexscale = GraphicsWidth() > 0 ? width / static_cast<float>(GraphicsWidth()) : 1;
    g.vres_mouseyscale = GraphicsHeight() > 0 ? height / static_cast<float>(GraphicsHeight()) : 1;
    current_driver_->SetResolution(width, height);
}

float VirtualResolutionWidth() { return current_ ? current_->vres_width : 0; }

float VirtualResolutionHeight() { return current_ ? current_->vres_height : 0; }

void SetImageFont(const std::shared_ptr<TImageFont>& font)
{
    if (current_)
        current_->image_font = font ? font : TImageFont::Default();
}

std::shared_ptr<TImageFont> GetImageFont() { return current_ ? current_->image_font : nullptr; }

void Plot(float x, float y)
{
    if (current_)
        current_driver_->Plot(x + current_->origin_x, y + current_->origin_y);
}

void DrawRect(float x, float y, float width, float height)
{
    if (!current_)
        return;
    const TDraw2DGraphics& g = *current_;
    current_driver_->DrawRect(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                              x + g.origin_x, y + g.origin_y);
}

void DrawOval(float x, float y, float width, float height)
{
    if (!current_)
        return;
    const TDraw2DGraphics& g = *current_;
    current_driver_->DrawOval(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                              x + g.origin_x, y + g.origin_y);
}

void DrawLine(float x0, float y0, float x1, float y1, int32_t last)
{
    if (!current_)
        return;
    const TDraw2DGraphics& g = *current_;
    const float ex = g.handle_x + (x1 - x0), ey = g.handle_y + (y1 - y0);
    const float tx = x0 + g.origin_x, ty = y0 + g.origin_y;
    current_driver_->DrawLine(g.handle_x, g.handle_y, ex, ey, tx, ty);
    if (last)
        current_driver_->Plot(ex * g.tform_ix + ey * g.tform_iy + tx, ex * g.tform_jx + ey * g.tform_jy + ty);
}

void DrawPoly(const std::vector<float>& xy)
{
    if (!current_)
        return;
    const TDraw2DGraphics& g = *current_;
    current_driver_->DrawPoly(xy, g.handle_x, g.handle_y, g.origin_x, g.origin_y);
}

void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame)
{
    if (!current_ || !image)
        return;
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    const auto width = static_cast<float>(image->width), height = static_cast<float>(image->height);
    std::shared_ptr<TImageFrame> f = image->Frame(frame);
    if (!f)
        return;
    f->Draw(x0, y0, x0 + width, y0 + height, x + current_->origin_x, y + current_->origin_y, 0, 0, width,
            height);
}

void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t x, int32_t y)
{
    if (current_ && pixmap)
        current_driver_->DrawPixmap(pixmap, x, y);
}

std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return current_ ? current_driver_->GrabPixmap(x, y, width, height) : nullptr;
}
