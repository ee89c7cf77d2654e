// The game's heaviest frame drawn through the 2D layer, and the same frame issued with raw GL
// calls, in one 512 by 512 window. Every frame ends with glFinish and a swap, so the time is what
// the renderer (llvmpipe without a GPU) takes for the whole frame.
//
// The frame: two turned 1024 by 1024 background pictures during a cross-fade, 10 fireworks with
// 19-circle trails, the turned 512 by 512 frame picture, 640 blocks and their 640 shadows, the
// full-window flash and 5 blast flashes.
//
// Run under xvfb-run (or with SDL_VIDEODRIVER=offscreen), with a screen of at least 1536 by 1536
// for the layers at scale 3.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <memory>
#include <numbers>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/glcontext.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "system/process_memory.h"

namespace {

constexpr int kColumns = 20, kRows = 32, kCell = 16, kBoardX = 96;

struct Firework {
    float x, y, xv, yv, size;
};
struct Boom {
    float x, y;
    int time;
};

// One picture: the pixels, the image the layer draws, and a texture for the raw GL frame.
struct Picture {
    std::shared_ptr<TPixmap> pixmap;
    std::shared_ptr<TImage> image;
    GLuint texture = 0;
    float handleX = 0, handleY = 0;
};

struct Scene {
    Picture back[2], hud, block, shadow, circle, flash;
    std::vector<Firework> fireworks;
    std::vector<Boom> booms;
    float angle = 17;
};

std::shared_ptr<TPixmap> Pattern(int w, int h, uint32_t seed, bool translucent)
{
    auto pixmap = CreatePixmap(w, h, PF_RGBA8888);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t v = (static_cast<uint32_t>(x * 7 + y * 13) ^ seed) & 0xFF;
            const uint32_t a = translucent ? static_cast<uint32_t>((x + y) * 255 / (w + h)) : 255;
            pixmap->WritePixel(x, y, a << 24 | v << 16 | (255 - v) << 8 | ((v * 3) & 0xFF));
        }
    }
    return pixmap;
}

Picture MakePicture(int w, int h, uint32_t seed, bool translucent, int32_t flags, bool centred)
{
    Picture p;
    p.pixmap = Pattern(w, h, seed, translucent);
    p.image = TImage::Load(p.pixmap, flags, 0, 0, 0);
    if (centred) {
        CentreImageHandle(p.image);
        p.handleX = w * 0.5f;
        p.handleY = h * 0.5f;
    }
    // The raw frame's own texture: the sizes here are powers of two already.
    glGenTextures(1, &p.texture);
    glBindTexture(GL_TEXTURE_2D, p.texture);
    const GLint filter = (flags & 2) ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.pixmap->pixels);
    return p;
}

// None when no window can be opened.
Scene* TheScene()
{
    static Scene* scene = [] {
        SetAppTitle("Brimstrand draw benchmark");
        SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
        if (!OpenGraphics(512, 512, 0, 0, GraphicsScalable))
            return static_cast<Scene*>(nullptr);
        auto* s = new Scene;
        s->back[0] = MakePicture(1024, 1024, 0x35, false, 0, true);
        s->back[1] = MakePicture(1024, 1024, 0x9A, false, 0, true);
        s->hud = MakePicture(512, 512, 0x11, true, 0, true);
        s->block = MakePicture(16, 16, 0x44, false, 0, false);
        s->shadow = MakePicture(16, 32, 0x00, true, 3, false);
        s->circle = MakePicture(32, 32, 0x77, true, 3, false);
        s->flash = MakePicture(128, 128, 0xC3, true, 0, true);
        for (int i = 0; i < 10; ++i)
            s->fireworks.push_back({40.0f + i * 45, 500.0f - i * 30, 0.3f * (i - 5), -5.0f - i, 1.0f + i * 0.05f});
        for (int i = 0; i < 5; ++i)
            s->booms.push_back({kBoardX + 40.0f + i * 50, 100.0f + i * 70, 11 - 2 * i});
        return s;
    }();
    return scene;
}

uint8_t BlockShade(int column, int row) { return static_cast<uint8_t>(80 + (column * 31 + row * 17) % 170); }

// Through the layer, as the play screen draws it.
void LayerFrame(Scene& s)
{
    Cls();
    SetColor(255, 250, 250);
    SetAlpha(1);
    SetRotation(s.angle);
    DrawImage(s.back[0].image, 256, 116);
    SetAlpha(0.5f);
    DrawImage(s.back[1].image, 256, 116);
    SetAlpha(1);
    SetRotation(0);

    for (const Firework& f : s.fireworks) {
        SetColor(200, 255, 200);
        for (int i = 0; i <= 18; ++i) {
            SetAlpha(0.345f - (i + 1) / 18.0f / 4);
            const float scale = f.size * (18 + 2 - ((i + 1) / 18.0f + 1)) * 0.062f;
            SetScale(scale, scale);
            DrawImage(s.circle.image, f.x - f.xv * i / 2.3f, f.y - f.yv * i / 2.3f);
        }
    }
    SetScale(1, 1);
    SetAlpha(1);

    SetColor(255, 255, 255);
    SetRotation(1.5f);
    DrawImage(s.hud.image, 256, 256);
    SetColor(255, 255, 255);
    SetRotation(0);

    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const uint8_t shade = BlockShade(column, row);
            SetColor(shade, 255 - shade, 128);
            DrawImage(s.block.image, static_cast<float>(kBoardX + column * kCell), static_cast<float>(row * kCell));
            SetScale(1, 1);
            SetAlpha(1);
        }
    }
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            SetScale(1, 1);
            SetColor(0, 0, 0);
            SetAlpha(0.395f);
            SetRotation(0);
            DrawImage(s.shadow.image, static_cast<float>(kBoardX + column * kCell),
                      static_cast<float>(row * kCell + kCell));
            SetScale(1, 1);
            SetAlpha(1);
        }
    }

    SetAlpha(0.5f);
    SetColor(255, 255, 205);
    DrawRect(0, 0, 512, 512);
    SetAlpha(1);

    for (const Boom& b : s.booms) {
        const float scale = (11 - b.time) / 16.0f + 0.4f;
        SetScale(scale, scale);
        SetAlpha(b.time / 26.0f);
        SetRotation(b.time * 32.0f);
        SetColor(255, 255, 128);
        DrawImage(s.flash.image, b.x, b.y);
    }
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    SetRotation(0);
}

// The raw frame keeps its own transform, as a hand-written GL 1.1 renderer would.
struct RawState {
    float ix = 1, iy = 0, jx = 0, jy = 1;
    void Turn(float degrees, float sx, float sy)
    {
        const double r = degrees * std::numbers::pi / 180;
        const auto c = static_cast<float>(std::cos(r)), sn = static_cast<float>(std::sin(r));
        ix = c * sx;
        iy = -sn * sy;
        jx = sn * sx;
        jy = c * sy;
    }
    void Quad(const Picture& p, float x, float y) const
    {
        const float x0 = -p.handleX, y0 = -p.handleY;
        const float x1 = x0 + static_cast<float>(p.pixmap->width), y1 = y0 + static_cast<float>(p.pixmap->height);
        glBindTexture(GL_TEXTURE_2D, p.texture);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(x0 * ix + y0 * iy + x, x0 * jx + y0 * jy + y);
        glTexCoord2f(1, 0);
        glVertex2f(x1 * ix + y0 * iy + x, x1 * jx + y0 * jy + y);
        glTexCoord2f(1, 1);
        glVertex2f(x1 * ix + y1 * iy + x, x1 * jx + y1 * jy + y);
        glTexCoord2f(0, 1);
        glVertex2f(x0 * ix + y1 * iy + x, x0 * jx + y1 * jy + y);
        glEnd();
    }
};

void RawFrame(Scene& s)
{
    RawState t;
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    t.Turn(s.angle, 1, 1);
    glColor4ub(255, 250, 250, 255);
    t.Quad(s.back[0], 256, 116);
    glColor4ub(255, 250, 250, 127);
    t.Quad(s.back[1], 256, 116);

    for (const Firework& f : s.fireworks) {
        for (int i = 0; i <= 18; ++i) {
            glColor4ub(200, 255, 200, static_cast<GLubyte>((0.345f - (i + 1) / 18.0f / 4) * 255));
            const float scale = f.size * (18 + 2 - ((i + 1) / 18.0f + 1)) * 0.062f;
            t.Turn(0, scale, scale);
            t.Quad(s.circle, f.x - f.xv * i / 2.3f, f.y - f.yv * i / 2.3f);
        }
    }

    glColor4ub(255, 255, 255, 255);
    t.Turn(1.5f, 1, 1);
    t.Quad(s.hud, 256, 256);
    t.Turn(0, 1, 1);

    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const uint8_t shade = BlockShade(column, row);
            glColor4ub(shade, static_cast<GLubyte>(255 - shade), 128, 255);
            t.Quad(s.block, static_cast<float>(kBoardX + column * kCell), static_cast<float>(row * kCell));
        }
    }
    glColor4ub(0, 0, 0, static_cast<GLubyte>(0.395f * 255));
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            t.Quad(s.shadow, static_cast<float>(kBoardX + column * kCell), static_cast<float>(row * kCell + kCell));

    glDisable(GL_TEXTURE_2D);
    glColor4ub(255, 255, 205, 127);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(512, 0);
    glVertex2f(512, 512);
    glVertex2f(0, 512);
    glEnd();
    glEnable(GL_TEXTURE_2D);

    for (const Boom& b : s.booms) {
        const float scale = (11 - b.time) / 16.0f + 0.4f;
        t.Turn(b.time * 32.0f, scale, scale);
        glColor4ub(255, 255, 128, static_cast<GLubyte>(b.time / 26.0f * 255));
        t.Quad(s.flash, b.x, b.y);
    }
    glDisable(GL_TEXTURE_2D);
    glColor4ub(255, 255, 255, 255);
}

void BM_LayerFrame(benchmark::State& state)
{
    Scene* scene = TheScene();
    if (!scene) {
        state.SkipWithError("no window");
        return;
    }
    Scene& s = *scene;
    SetBlend(BlendAlpha);
    for (auto _ : state) {
        LayerFrame(s);
        glFinish();
        Flip(0);
    }
}
BENCHMARK(BM_LayerFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_RawGLFrame(benchmark::State& state)
{
    Scene* scene = TheScene();
    if (!scene) {
        state.SkipWithError("no window");
        return;
    }
    Scene& s = *scene;
    // Make the layer's state caches forget what it set: this frame changes GL behind its back.
    SetGraphics(CurrentGraphics());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
    for (auto _ : state) {
        RawFrame(s);
        glFinish();
        SDL_GL_SwapWindow(GLContextCurrent()->window);
    }
    SetGraphics(CurrentGraphics());
}
BENCHMARK(BM_RawGLFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The window at 512 by 512 times scale, the drawing scaled into it as the game's window does.
void ScaleWindow(int scale)
{
    SDL_SetWindowSize(GLContextCurrent()->window, 512 * scale, 512 * scale);
    Flip(0);
}

// Where a title frame's time goes at each window scale: one layer over the whole 512 by 512
// drawing per frame. Arguments: the scale, then the layer: 0 the clear alone, 1 a turned opaque
// 1024 by 1024 background (drawn unblended at full alpha), 2 the same at alpha 0.99 (blended, as
// every picture was before), 3 a translucent 512 by 512 frame picture.
void BM_CanvasLayer(benchmark::State& state)
{
    Scene* scene = TheScene();
    if (!scene) {
        state.SkipWithError("no window");
        return;
    }
    Scene& s = *scene;
    ScaleWindow(static_cast<int>(state.range(0)));
    const auto layer = state.range(1);
    SetBlend(BlendAlpha);
    SetColor(255, 255, 255);
    for (auto _ : state) {
        Cls();
        SetAlpha(layer == 2 ? 0.99f : 1);
        SetRotation(layer == 3 ? 0 : s.angle);
        if (layer == 1 || layer == 2)
            DrawImage(s.back[0].image, 256, 116);
        if (layer == 3)
            DrawImage(s.hud.image, 256, 256);
        glFinish();
        Flip(0);
    }
    SetAlpha(1);
    SetRotation(0);
    ScaleWindow(1);
}
BENCHMARK(BM_CanvasLayer)
    ->ArgsProduct({{1, 2, 3}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime();

double ResidentMiB() { return static_cast<double>(ReadProcessMemory().residentKiB) / 1024.0; }

// The title screen's memory: each of the ten 1024 by 1024 backgrounds gets its texture when first
// drawn. Kept (argument 0), the growth stops once every background has been shown, at ten
// textures; let go once off screen as the title screen does (argument 1), at most the shown one
// holds a texture, and many rounds (an hour of the title screen changes background about 30
// times) cost nothing more than the first.
void BM_BackgroundTextureMemory(benchmark::State& state)
{
    if (!TheScene()) {
        state.SkipWithError("no window");
        return;
    }
    const bool letGo = state.range(0) != 0;
    constexpr int kBackgrounds = 10, kRounds = 5;
    std::vector<std::shared_ptr<TImage>> backs;
    for (int i = 0; i < kBackgrounds; ++i) {
        backs.push_back(TImage::Load(Pattern(1024, 1024, 0x51u * (i + 1), false), 0, 0, 0, 0));
        CentreImageHandle(backs.back());
    }
    const auto drawRound = [&] {
        for (const auto& back : backs) {
            Cls();
            DrawImage(back, 256, 256);
            glFinish();
            Flip(0);
            for (const auto& other : backs)
                if (letGo && other != back)
                    other->ReleaseFrames();
        }
    };
    for (auto _ : state) {
        const double before = ResidentMiB();
        drawRound();
        const double afterFirst = ResidentMiB();
        for (int round = 1; round < kRounds; ++round)
            drawRound();
        const double afterAll = ResidentMiB();
        state.counters["MiB over the first round"] = afterFirst - before;
        state.counters["MiB over later rounds"] = afterAll - afterFirst;
    }
}
BENCHMARK(BM_BackgroundTextureMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
