#include "draw2d/gldraw2d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw2d/glcontext.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"
#include "system/error.h"

namespace {

// The transform set by SetTransform, applied to every corner.
float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1;
// Current colour and alpha as sent to GL.
GLubyte color_[4] = {255, 255, 255, 255};
// Caches of GL state, so repeated settings do not reach GL. 0 = unknown / none.
int32_t blend_ = 0;
GLuint bound_texture_ = 0;
bool texturing_ = false;
bool texels_alone_ = false; // GL_REPLACE rather than GL_MODULATE
// Where the drawing lands in the window, the viewport set in drawing pixels, and the line width
// asked for: kept to set GL again when the window changes size.
TCanvasFit fit_;
TPixelRect viewport_;
float line_width_ = 1;
// The drawing's size in its own units, as the projection maps it onto the canvas.
float drawing_width_ = 0, drawing_height_ = 0;
// A clear asked for and not yet done: an opaque picture that covers all it would clear makes it
// needless, which spares llvmpipe a pass over the whole window each frame.
bool clear_pending_ = false;
bool shortcuts_ = true;

struct Point {
    float x, y;
};

Point Map(float x, float y, float tx, float ty)
{
    return {x * ix_ + y * iy_ + tx, x * jx_ + y * jy_ + ty};
}

void Vertex(Point p) { glVertex2f(p.x, p.y); }

void BindTexture(GLuint name)
{
    if (name != bound_texture_) {
        GLStateCalls().BindTexture(GL_TEXTURE_2D, name);
        bound_texture_ = name;
    }
}

void EnableTexture(GLuint name)
{
    BindTexture(name);
    if (!texturing_) {
        GLStateCalls().Enable(GL_TEXTURE_2D);
        texturing_ = true;
    }
}

// A picture drawn in white at full alpha is its texels alone: replacing spares llvmpipe the
// multiply by the colour at every pixel, and a multiply by one changes nothing.
void UseTexelsAlone(bool alone)
{
    if (alone == texels_alone_)
        return;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, alone ? GL_REPLACE : GL_MODULATE);
    texels_alone_ = alone;
}

bool ColourIsWhite() { return color_[0] == 255 && color_[1] == 255 && color_[2] == 255 && color_[3] == 255; }

void DisableTexture()
{
    if (texturing_) {
        GLStateCalls().Disable(GL_TEXTURE_2D);
        texturing_ = false;
    }
}

void ClearNow()
{
    clear_pending_ = false;
    glClear(GL_COLOR_BUFFER_BIT);
}

// Whether a point lies inside the convex quad a-b-c-d (either winding), with a margin in drawing
// units so that rounding at the quad's edges cannot leave a pixel uncovered.
bool InsideQuad(const Point (&quad)[4], Point p)
{
    constexpr float Margin = 0.5f;
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const Point a = quad[i], b = quad[(i + 1) % 4];
        const float ex = b.x - a.x, ey = b.y - a.y;
        const float length = std::hypot(ex, ey);
        if (length == 0)
            return false;
        const float distance = (ex * (p.y - a.y) - ey * (p.x - a.x)) / length;
        const int side = distance > Margin ? 1 : distance < -Margin ? -1 : 0;
        if (side == 0 || (sign != 0 && side != sign))
            return false;
        sign = side;
    }
    return true;
}

// Whether the quad covers everything a clear would reach: the viewport within the drawing.
bool CoversClearedArea(const Point (&quad)[4])
{
    const float left = std::max(0.0f, static_cast<float>(viewport_.x));
    const float top = std::max(0.0f, static_cast<float>(viewport_.y));
    const float right = std::min(drawing_width_, static_cast<float>(viewport_.x + viewport_.width));
    const float bottom = std::min(drawing_height_, static_cast<float>(viewport_.y + viewport_.height));
    for (const Point corner : {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}})
        if (!InsideQuad(quad, corner))
            return false;
    return true;
}

// A draw that blends by its alpha with alpha 0 leaves every pixel as it was: skipped, which spares
// llvmpipe a pass over the whole window for a fully faded veil.
bool DrawsNothing()
{
    return color_[3] == 0 && (blend_ == BlendAlpha || blend_ == BlendLight);
}

// The byte of a pixel that holds its alpha; -1 when the format has none.
int AlphaByte(int32_t format)
{
    switch (format) {
    case PF_A8: return 0;
    case PF_RGBA8888:
    case PF_BGRA8888: return 3;
    default: return -1;
    }
}

// Every pixel of the image fully opaque, so drawing it at full alpha needs no blending.
bool AllOpaque(const TPixmap& pixmap)
{
    const int alphaByte = AlphaByte(pixmap.format);
    if (alphaByte < 0)
        return true;
    const int step = BytesPerPixel(pixmap.format);
    for (int32_t y = 0; y < pixmap.height; ++y) {
        const uint8_t* row = pixmap.pixels + static_cast<size_t>(y) * pixmap.pitch;
        for (int32_t x = 0; x < pixmap.width; ++x)
            if (row[x * step + alphaByte] != 255)
                return false;
    }
    return true;
}

// Tiles of a large picture that hold nothing visible are left out of its quad: a clear texel blended
// over a pixel leaves it as it was. Pictures smaller than a few tiles are not worth the quads.
constexpr int32_t ClearTile = 16;
constexpr int32_t SmallestTiledSide = 128;

// Whether any texel of the rectangle, grown by one for filtering's neighbours, can be seen.
bool ShowsAnything(const TPixmap& pixmap, int alphaByte, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const int step = BytesPerPixel(pixmap.format);
    left = std::max(left - 1, 0), top = std::max(top - 1, 0);
    right = std::min(right + 1, pixmap.width), bottom = std::min(bottom + 1, pixmap.height);
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* row = pixmap.pixels + static_cast<size_t>(y) * pixmap.pitch;
        for (int32_t x = left; x < right; ++x)
            if (row[x * step + alphaByte] != 0)
                return true;
    }
    return false;
}

// The picture as rectangles of whole tiles (runs along a row, then runs of equal rows) that
// leave out the clear tiles; empty when there are none to leave out.
std::vector<TTexelRect> VisibleParts(const TPixmap& pixmap)
{
    const int alphaByte = AlphaByte(pixmap.format);
    if (alphaByte < 0 || pixmap.width < SmallestTiledSide || pixmap.height < SmallestTiledSide)
        return {};
    const int32_t across = (pixmap.width + ClearTile - 1) / ClearTile;
    const int32_t down = (pixmap.height + ClearTile - 1) / ClearTile;
    std::vector<TTexelRect> parts, previousRow;
    bool anyClear = false;
    for (int32_t ty = 0; ty < down; ++ty) {
        const int32_t top = ty * ClearTile, bottom = std::min(top + ClearTile, pixmap.height);
        std::vector<TTexelRect> row;
        for (int32_t tx = 0; tx < across; ++tx) {
            const int32_t left = tx * ClearTile, right = std::min(left + ClearTile, pixmap.width);
            if (!ShowsAnything(pixmap, alphaByte, left, top, right, bottom)) {
                anyClear = true;
                continue;
            }
            if (!row.empty() && row.back().x + row.back().width == left)
                row.back().width = right - row.back().x;
            else
                row.push_back({left, top, right - left, bottom - top});
        }
        const bool sameRuns = row.size() == previousRow.size() &&
                              std::equal(row.begin(), row.end(), previousRow.begin(), [](const auto& a, const auto& b) {
                                  return a.x == b.x && a.width == b.width;
                              });
        if (sameRuns) {
            for (size_t i = parts.size() - row.size(); i < parts.size(); ++i)
                parts[i].height = bottom - parts[i].y;
        } else {
            parts.insert(parts.end(), row.begin(), row.end());
        }
        previousRow = std::move(row);
    }
    return anyClear ? parts : std::vector<TTexelRect>{};
}

GLubyte ClampByte(int32_t value) { return static_cast<GLubyte>(std::clamp(value, 0, 255)); }

int32_t PowerOfTwoAbove(int32_t n)
{
    int32_t p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}

bool TextureSizeFits(int32_t width, int32_t height)
{
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint accepted = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
    return accepted != 0;
}

void UploadLevel(int32_t level, const TPixmap& pixmap)
{
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap.pitch / BytesPerPixel(pixmap.format));
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, pixmap.width, pixmap.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixmap.pixels);
}

// GL counts rows from the bottom.
void Scissor(const TPixelRect& r) { glScissor(r.x, fit_.windowHeight - r.y - r.height, r.width, r.height); }

bool FillsWindow(const TPixelRect& r)
{
    return r.x <= 0 && r.y <= 0 && r.x + r.width >= fit_.windowWidth && r.y + r.height >= fit_.windowHeight;
}

// Drawing stays inside the viewport and the canvas, whatever lines, points or clears would reach.
void ApplyScissor()
{
    const TPixelRect asked = CanvasRectInWindow(fit_, viewport_.x, viewport_.y, viewport_.width, viewport_.height);
    const TPixelRect& canvas = fit_.canvas;
    const int32_t left = std::max(asked.x, canvas.x), top = std::max(asked.y, canvas.y);
    const int32_t right = std::min(asked.x + asked.width, canvas.x + canvas.width);
    const int32_t bottom = std::min(asked.y + asked.height, canvas.y + canvas.height);
    const TPixelRect clipped{left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
    if (FillsWindow(clipped)) {
        GLStateCalls().Disable(GL_SCISSOR_TEST);
        return;
    }
    GLStateCalls().Enable(GL_SCISSOR_TEST);
    Scissor(clipped);
}

// The bars beside the canvas are black in every frame, whatever the program clears to.
void ClearBars()
{
    const TPixelRect& c = fit_.canvas;
    if (FillsWindow(c))
        return;
    const int32_t w = fit_.windowWidth, h = fit_.windowHeight;
    const TPixelRect bars[] = {{0, 0, w, c.y},
                               {0, c.y + c.height, w, h - c.y - c.height},
                               {0, c.y, c.x, c.height},
                               {c.x + c.width, c.y, w - c.x - c.width, c.height}};
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0, 0, 0, 1);
    GLStateCalls().Enable(GL_SCISSOR_TEST);
    for (const TPixelRect& bar : bars) {
        if (bar.width > 0 && bar.height > 0) {
            Scissor(bar);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    ApplyScissor();
}

// Follows the window's size: the canvas's place, the scissor, and the pixel sizes of lines and
// points, which GL counts in window pixels.
void ApplyFit(const TCanvasFit& fit)
{
    fit_ = fit;
    const TPixelRect& c = fit_.canvas;
    glViewport(c.x, fit_.windowHeight - c.y - c.height, c.width, c.height);
    glLineWidth(line_width_ * fit_.ScaleX());
    glPointSize(fit_.ScaleX());
    ApplyScissor();
}

// Runs body with blending solid, then puts the previous blend mode back.
template <class Body>
void WithSolidBlend(TGLDraw2DDriver& driver, Body body)
{
    const int32_t previous = blend_;
    driver.SetBlend(BlendSolid);
    body();
    driver.SetBlend(previous);
}

} // namespace

void SetDrawShortcuts(bool on)
{
    FinishPendingClear();
    shortcuts_ = on;
}

void FinishPendingClear()
{
    if (clear_pending_)
        ClearNow();
}

TGLStateCalls& GLStateCalls()
{
    static TGLStateCalls calls;
    return calls;
}

int32_t OvalSegments(float xr, float yr)
{
    const double span = std::fabs(static_cast<double>(xr)) + std::fabs(static_cast<double>(yr));
    // The cap only keeps absurd radii from asking for billions of points.
    const int32_t segments = span >= 12 ? static_cast<int32_t>(std::min(span, 65536.0)) : 12;
    return segments & ~3;
}

// Image frames

TGLImageFrame::~TGLImageFrame()
{
    if (seq == 0)
        return;
    // A texture of graphics closed since it was made died with its context.
    if (seq == GraphicsSeq()) {
        const auto texture = static_cast<GLuint>(name);
        glDeleteTextures(1, &texture);
        // GL binds 0 in its place; the cache must agree, or a new texture given the same name
        // would be taken as already bound.
        if (bound_texture_ == texture)
            bound_texture_ = 0;
    }
    seq = 0;
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
                         float sw, float sh)
{
    if (DrawsNothing())
        return;
    // Source over destination at full alpha is the source alone: the same pixels without the
    // cost of reading the destination back, which is most of a large picture's cost in llvmpipe.
    const bool unblended = opaque && blend_ == BlendAlpha && color_[3] == 255;
    const Point corners[4] = {Map(x0, y0, tx, ty), Map(x1, y0, tx, ty), Map(x1, y1, tx, ty), Map(x0, y1, tx, ty)};
    if (clear_pending_ && !(shortcuts_ && unblended && CoversClearedArea(corners)))
        ClearNow();
    clear_pending_ = false;
    if (unblended)
        GLStateCalls().Disable(GL_BLEND);
    EnableTexture(static_cast<GLuint>(name));
    UseTexelsAlone(shortcuts_ && ColourIsWhite());
    // Only where a clear texel leaves the pixel as it was, and only unturned and unscaled, where
    // the parts' corners fall on the very points the whole quad would map them to.
    const bool clearLeavesPixels = blend_ == BlendAlpha || blend_ == BlendLight || blend_ == BlendMask;
    const bool inParts = shortcuts_ && !visible.empty() && !unblended && clearLeavesPixels && ix_ == 1 &&
                         jy_ == 1 && iy_ == 0 && jx_ == 0 && sx == 0 && sy == 0 && sw == visibleWidth &&
                         sh == visibleHeight;
    glBegin(GL_QUADS);
    if (inParts) {
        const float xs = (x1 - x0) / sw, ys = (y1 - y0) / sh;
        for (const TTexelRect& part : visible) {
            // In the image's pixels; a part ends where its neighbour starts, to the last bit.
            const float left = part.x / texelsPerPixel, top = part.y / texelsPerPixel;
            const float right = (part.x + part.width) / texelsPerPixel;
            const float bottom = (part.y + part.height) / texelsPerPixel;
            Quad(x0 + left * xs, y0 + top * ys, x0 + right * xs, y0 + bottom * ys, tx, ty, left, top, right - left,
                 bottom - top);
        }
    } else {
        Quad(x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
    }
    glEnd();
    if (unblended)
        GLStateCalls().Enable(GL_BLEND);
}

void TGLImageFrame::SetDensity(int32_t density)
{
    const auto d = static_cast<float>(density);
    uscale *= d;
    vscale *= d;
    texelsPerPixel = d;
    visibleWidth /= d;
    visibleHeight /= d;
}

void TGLImageFrame::Quad(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy, float sw,
                         float sh) const
{
    const float s0 = sx * uscale, t0 = sy * vscale;
    const float s1 = (sx + sw) * uscale, t1 = (sy + sh) * vscale;
    glTexCoord2f(s0, t0);
    Vertex(Map(x0, y0, tx, ty));
    glTexCoord2f(s1, t0);
    Vertex(Map(x1, y0, tx, ty));
    glTexCoord2f(s1, t1);
    Vertex(Map(x1, y1, tx, ty));
    glTexCoord2f(s0, t1);
    Vertex(Map(x0, y1, tx, ty));
}

std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const std::shared_ptr<TPixmap>& source,
                                                               int32_t flags)
{
    if (!source || source->width <= 0 || source->height <= 0)
        return nullptr;

    int32_t tw = PowerOfTwoAbove(source->width), th = PowerOfTwoAbove(source->height);
    while (!TextureSizeFits(tw, th)) {
        if (tw == 1 && th == 1)
            throw TRuntimeError("Unable to calculate tex size");
        if (tw > 1)
            tw /= 2;
        if (th > 1)
            th /= 2;
    }

    std::shared_ptr<TPixmap> pixmap = source;
    const bool opaque = AllOpaque(*source);
    const int32_t w = std::min(pixmap->width, tw), h = std::min(pixmap->height, th);
    const bool resized = w < pixmap->width || h < pixmap->height;
    // Mipmaps sample beyond a texel's neighbours, so their pictures are always drawn whole.
    std::vector<TTexelRect> visible;
    if (!resized && !opaque && (flags & ImageFlagMipmapped) == 0)
        visible = VisibleParts(*source);
    if (resized)
        pixmap = ResizePixmap(pixmap, w, h);

    if (w < tw || h < th) {
        // Repeat the last column and row once, so filtered edges do not sample empty texels.
        std::shared_ptr<TPixmap> texture = CreatePixmap(tw, th, PF_RGBA8888);
        texture->ClearPixels(0);
        texture->Paste(pixmap, 0, 0);
        if (w < tw)
            texture->Paste(pixmap->Window(w - 1, 0, 1, h), w, 0);
        if (h < th)
            texture->Paste(pixmap->Window(0, h - 1, w, 1), 0, h);
        if (w < tw && h < th)
            texture->Paste(pixmap->Window(w - 1, h - 1, 1, 1), w, h);
        pixmap = texture;
    } else if (pixmap->format != PF_RGBA8888) {
        pixmap = pixmap->Convert(PF_RGBA8888);
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    BindTexture(name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const bool filtered = (flags & ImageFlagFiltered) != 0, mipmapped = (flags & ImageFlagMipmapped) != 0;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    filtered ? (mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)
                             : (mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST));
    UploadLevel(0, *pixmap);
    if (mipmapped) {
        int32_t level = 0;
        while (pixmap->width > 1 || pixmap->height > 1) {
            pixmap = ResizePixmap(pixmap, std::max(1, pixmap->width / 2), std::max(1, pixmap->height / 2));
            UploadLevel(++level, *pixmap);
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);

    auto frame = std::make_shared<TGLImageFrame>();
    frame->name = static_cast<int32_t>(name);
    frame->uscale = 1.0f / static_cast<float>(tw);
    frame->vscale = 1.0f / static_cast<float>(th);
    frame->u1 = static_cast<float>(w) * frame->uscale;
    frame->v1 = static_cast<float>(h) * frame->vscale;
    frame->seq = GraphicsSeq();
    frame->opaque = opaque;
    frame->visible = std::move(visible);
    frame->visibleWidth = static_cast<float>(w);
    frame->visibleHeight = static_cast<float>(h);
    return frame;
}

// Driver

TGLDraw2DDriver* TGLDraw2DDriver::Create()
{
    TGLGraphicsDriver* glDriver = GLGraphicsDriver();
    return glDriver ? new TGLDraw2DDriver(glDriver) : nullptr;
}

TDraw2DDriver* GLDraw2DDriverInstance()
{
    static TGLDraw2DDriver* instance = nullptr;
    if (!instance)
        instance = TGLDraw2DDriver::Create();
    return instance;
}

std::vector<TGraphicsMode> TGLDraw2DDriver::GraphicsModes() { return gl_driver_->GraphicsModes(); }

std::shared_ptr<TGraphics> TGLDraw2DDriver::AttachGraphics(void* widget, int32_t flags)
{
    std::shared_ptr<TGraphics> graphics = gl_driver_->AttachGraphics(widget, flags);
    return graphics ? TDraw2DGraphics::Create(graphics, this) : nullptr;
}

std::shared_ptr<TGraphics> TGLDraw2DDriver::CreateGraphics(int32_t width, int32_t height, int32_t depth,
                                                           int32_t hertz, int32_t flags)
{
    std::shared_ptr<TGraphics> graphics = gl_driver_->CreateGraphics(width, height, depth, hertz, flags);
    return graphics ? TDraw2DGraphics::Create(graphics, this) : nullptr;
}

void TGLDraw2DDriver::SetGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    auto g = std::dynamic_pointer_cast<TDraw2DGraphics>(graphics);
    if (!g) {
        TDraw2DGraphics::ClearCurrent();
        gl_driver_->SetGraphics(nullptr);
        return;
    }
    gl_driver_->SetGraphics(g->_graphics);
    ResetGLContext(g);
    g->MakeCurrent();
}

int32_t TGLDraw2DDriver::DisplayHertz() { return gl_driver_->DisplayHertz(); }

void TGLDraw2DDriver::Flip(int32_t sync)
{
    FinishPendingClear();
    gl_driver_->Flip(sync);
    const TCanvasFit fit = CurrentCanvasFit();
    if (!(fit == fit_))
        ApplyFit(fit);
    ClearBars(); // the back buffer's contents are undefined after a swap
}

void TGLDraw2DDriver::ResetGLContext(const std::shared_ptr<TGraphics>& graphics)
{
    int32_t width = 0, height = 0, depth, hertz, flags;
    graphics->GetSettings(width, height, depth, hertz, flags);
    blend_ = 0;
    bound_texture_ = 0;
    texturing_ = false;
    clear_pending_ = false; // asked of the graphics left
    GLStateCalls().Disable(GL_TEXTURE_2D);
    texels_alone_ = true; // whatever the context left, modulating is set outright
    UseTexelsAlone(false);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawing_width_ = static_cast<float>(width);
    drawing_height_ = static_cast<float>(height);
    viewport_ = {0, 0, width, height};
    ApplyFit(CurrentCanvasFit());
    ClearBars();
}

void TGLDraw2DDriver::SetResolution(float width, float height)
{
    FinishPendingClear();
    drawing_width_ = width;
    drawing_height_ = height;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

std::shared_ptr<TImageFrame> TGLDraw2DDriver::CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                                    int32_t flags)
{
    return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

void TGLDraw2DDriver::SetBlend(int32_t mode)
{
    if (mode == blend_)
        return;
    blend_ = mode;
    const TGLStateCalls& gl = GLStateCalls();
    switch (mode) {
    case BlendMask:
        gl.Disable(GL_BLEND);
        gl.Enable(GL_ALPHA_TEST);
        gl.AlphaFunc(GL_GEQUAL, 0.5f);
        break;
    case BlendAlpha:
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl.Disable(GL_ALPHA_TEST);
        break;
    case BlendLight:
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE);
        gl.Disable(GL_ALPHA_TEST);
        break;
    case BlendShade:
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_DST_COLOR, GL_ZERO);
        gl.Disable(GL_ALPHA_TEST);
        break;
    default: // solid and unknown modes
        gl.Disable(GL_BLEND);
        gl.Disable(GL_ALPHA_TEST);
        break;
    }
}

void TGLDraw2DDriver::SetAlpha(float alpha)
{
    if (alpha > 1)
        alpha = 1;
    if (!(alpha >= 0)) // also not-a-number
        alpha = 0;
    color_[3] = static_cast<GLubyte>(alpha * 255);
    glColor4ubv(color_);
}

void TGLDraw2DDriver::SetColor(int32_t red, int32_t green, int32_t blue)
{
    color_[0] = ClampByte(red);
    color_[1] = ClampByte(green);
    color_[2] = ClampByte(blue);
    glColor4ubv(color_);
}

void TGLDraw2DDriver::SetClsColor(int32_t red, int32_t green, int32_t blue)
{
    FinishPendingClear();
    glClearColor(ClampByte(red) / 255.0f, ClampByte(green) / 255.0f, ClampByte(blue) / 255.0f, 1.0f);
}

void TGLDraw2DDriver::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    FinishPendingClear();
    viewport_ = {x, y, width, height};
    ApplyScissor();
}

void TGLDraw2DDriver::SetTransform(float ix, float iy, float jx, float jy)
{
    ix_ = ix;
    iy_ = iy;
    jx_ = jx;
    jy_ = jy;
}

void TGLDraw2DDriver::SetLineWidth(float width)
{
    line_width_ = width;
    glLineWidth(width * fit_.ScaleX());
}

void TGLDraw2DDriver::Cls()
{
    if (shortcuts_)
        clear_pending_ = true;
    else
        ClearNow();
}

void TGLDraw2DDriver::Plot(float x, float y)
{
    FinishPendingClear();
    DisableTexture();
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void TGLDraw2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty)
{
    FinishPendingClear();
    DisableTexture();
    const Point a = Map(x0, y0, tx, ty), b = Map(x1, y1, tx, ty);
    glBegin(GL_LINES);
    glVertex2f(a.x + 0.5f, a.y + 0.5f);
    glVertex2f(b.x + 0.5f, b.y + 0.5f);
    glEnd();
}

void TGLDraw2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    if (DrawsNothing())
        return;
    FinishPendingClear();
    DisableTexture();
    glBegin(GL_QUADS);
    Vertex(Map(x0, y0, tx, ty));
    Vertex(Map(x1, y0, tx, ty));
    Vertex(Map(x1, y1, tx, ty));
    Vertex(Map(x0, y1, tx, ty));
    glEnd();
}

void TGLDraw2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    const float xr = (x1 - x0) * 0.5f, yr = (y1 - y0) * 0.5f;
    const int32_t segments = OvalSegments(xr, yr);
    const float cx = x0 + xr, cy = y0 + yr;
    if (DrawsNothing())
        return;
    FinishPendingClear();
    DisableTexture();
    glBegin(GL_POLYGON);
    for (int32_t i = 0; i < segments; ++i) {
        const double theta = i * 360.0 / segments * (std::numbers::pi / 180.0);
        Vertex(Map(cx + xr * static_cast<float>(std::cos(theta)), cy - yr * static_cast<float>(std::sin(theta)),
                   tx, ty));
    }
    glEnd();
}

void TGLDraw2DDriver::DrawPoly(const std::vector<float>& xy, float handleX, float handleY, float tx, float ty)
{
    if (DrawsNothing())
        return;
    if (xy.size() < 6 || xy.size() % 2 != 0)
        return;
    FinishPendingClear();
    DisableTexture();
    glBegin(GL_POLYGON);
    for (size_t i = 0; i < xy.size(); i += 2)
        Vertex(Map(xy[i] + handleX, xy[i + 1] + handleY, tx, ty));
    glEnd();
}

void TGLDraw2DDriver::DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t x, int32_t y)
{
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0)
        return;
    FinishPendingClear();
    std::shared_ptr<TPixmap> rgba = pixmap->format == PF_RGBA8888 ? pixmap : pixmap->Convert(PF_RGBA8888);
    WithSolidBlend(*this, [&] {
        DisableTexture();
        // Rows go down the screen from (x, y): the projection has y growing downward, GL upward.
        glRasterPos2i(x, y);
        glPixelZoom(fit_.ScaleX(), -fit_.ScaleY());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
        glDrawPixels(rgba->width, rgba->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelZoom(1, 1);
    });
}

std::shared_ptr<TPixmap> TGLDraw2DDriver::GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    // At the window's resolution: a scaled window gives the pixels the rectangle covers there.
    const TPixelRect r = CanvasRectInWindow(fit_, x, y, width, height);
    if (r.width <= 0 || r.height <= 0)
        return nullptr;
    FinishPendingClear();
    std::shared_ptr<TPixmap> pixmap = CreatePixmap(r.width, r.height, PF_RGBA8888);
    WithSolidBlend(*this, [&] {
        glPixelStorei(GL_PACK_ROW_LENGTH, pixmap->pitch / 4);
        glReadPixels(r.x, fit_.windowHeight - r.y - r.height, r.width, r.height, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixmap->pixels);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    });
    return YFlipPixmap(pixmap);
}
