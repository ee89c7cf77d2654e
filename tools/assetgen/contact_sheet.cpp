#include "tools/assetgen/contact_sheet.h"

#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <stdexcept>

namespace {

struct Pictures {
    std::map<std::string, const Image*> byName;
    const Image& operator[](const std::string& file) const
    {
        auto it = byName.find(file);
        if (it == byName.end())
            throw std::logic_error("contact sheet needs " + file);
        return *it->second;
    }
};

Rgba Sample(const Image& image, double x, double y)
{
    // Bilinear, transparent outside.
    x -= 0.5, y -= 0.5;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = float(x - x0), fy = float(y - y0);
    Rgba sum;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            int sx = x0 + i, sy = y0 + j;
            if (sx < 0 || sy < 0 || sx >= image.Width() || sy >= image.Height())
                continue;
            float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const Rgba& p = image.At(sx, sy);
            sum = {sum.r + p.r * w, sum.g + p.g * w, sum.b + p.b * w, sum.a + p.a * w};
        }
    return sum;
}

// Draws src as the game's DrawImage does: centred or from the top left, scaled, turned,
// tinted and faded (sampled bilinearly here).
void DrawPicture(Image& dst, const Image& src, Vec2 pos, bool centred, Vec2 scale = {1, 1}, double degrees = 0,
                 Colour tint = {1, 1, 1}, float alpha = 1)
{
    Vec2 handle = centred ? Vec2{src.Width() / 2.0, src.Height() / 2.0} : Vec2{0, 0};
    double reach = std::max(std::abs(scale.x), std::abs(scale.y)) * (src.Width() + src.Height()) + 2;
    for (int y = int(pos.y - reach); y <= int(pos.y + reach); ++y)
        for (int x = int(pos.x - reach); x <= int(pos.x + reach); ++x) {
            if (x < 0 || y < 0 || x >= dst.Width() || y >= dst.Height())
                continue;
            Vec2 local = Rotated(Vec2{x + 0.5, y + 0.5} - pos, -degrees);
            double sx = local.x / scale.x + handle.x, sy = local.y / scale.y + handle.y;
            if (sx < -1 || sy < -1 || sx > src.Width() + 1 || sy > src.Height() + 1)
                continue;
            Rgba p = Sample(src, sx, sy);
            dst.Blend(x, y, {p.r * tint.r * alpha, p.g * tint.g * alpha, p.b * tint.b * alpha, p.a * alpha});
        }
}

// Copies one cell of a strip, scaled by an integer, tinted.
void DrawCell(Image& dst, const Image& strip, int cell, int cw, int ch, int x, int y, int zoom, Colour tint,
              float alpha = 1)
{
    int across = strip.Width() / cw;
    int cx = (cell % across) * cw, cy = (cell / across) * ch;
    for (int j = 0; j < ch * zoom; ++j)
        for (int i = 0; i < cw * zoom; ++i) {
            Rgba p = strip.At(cx + i / zoom, cy + j / zoom);
            dst.Blend(x + i, y + j, {p.r * tint.r * alpha, p.g * tint.g * alpha, p.b * tint.b * alpha, p.a * alpha});
        }
}

int FontCell(char c)
{
    const char* at = std::strchr(kFontStripOrder, c);
    return c != ' ' && c != 0 && at ? int(at - kFontStripOrder) : -1;
}

// The game's text drawing at scale 1 or 0.5 (every other texel), advancing by width class.
void DrawText(Image& dst, const Image& font, const std::string& text, int x, int y, Colour tint, bool half = false)
{
    for (char c : text) {
        int cell = FontCell(c);
        if (cell >= 0) {
            if (half) {
                for (int j = 0; j < 8; ++j)
                    for (int i = 0; i < 6; ++i) {
                        Rgba p = font.At(cell * 12 + i * 2, j * 2);
                        dst.Blend(x + i, y + j, {p.r * tint.r, p.g * tint.g, p.b * tint.b, p.a});
                    }
            } else {
                DrawCell(dst, font, cell, 12, 16, x, y, 1, tint);
            }
        }
        x += half ? CellAdvance(c) / 2 + 1 : CellAdvance(c);
    }
}

void Checkerboard(Image& image, int x0, int y0, int w, int h)
{
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            bool dark = ((x - x0) / 8 + (y - y0) / 8) % 2 == 0;
            if (x < image.Width() && y < image.Height())
                image.At(x, y) = Paint(dark ? Rgb8(92, 92, 100) : Rgb8(128, 128, 136));
        }
}

void DrawBackground(Image& screen, const Pictures& p, const std::string& file, double angle, Colour tint)
{
    DrawPicture(screen, p[file], {256, 116}, true, {1, 1}, angle, tint);
}

Image TitleScreen(const Pictures& p)
{
    Image screen(512, 512, Paint(Rgb8(50, 50, 50)));
    DrawBackground(screen, p, "back5.png", 37, {1, 1, 1});
    Rng rng(5);
    for (int f = 0; f < 3; ++f) {
        Vec2 head{rng.Real(100, 420), rng.Real(150, 450)}, v{rng.Real(-1, 1), rng.Real(-16, -6)};
        for (int i = 0; i <= 18; ++i)
            DrawPicture(screen, p["circle.png"], head - v * (i / 2.3), false, {1.15, 1.15}, 0, Rgb8(195, 245, 195),
                        float(0.345 - (i + 1) / 18.0 / 4));
    }
    DrawPicture(screen, p["hud.png"], {256, 256}, true);
    DrawPicture(screen, p["logo.png"], {256, 66}, true);
    const char* items[] = {"menu1.png", "menu2.png", "menu3.png", "menu4.png"};
    for (int k = 0; k < 4; ++k) {
        bool hover = k == 1;
        DrawPicture(screen, p[items[k]], {256, 240.0 + 60 * k}, true, {hover ? 0.8 : 0.6, hover ? 1.24 : 1.0}, 0,
                    hover ? Rgb8(200, 200, 200) : Rgb8(200, 200, 200));
    }
    DrawText(screen, p["options.png"], "Generated by Brimstrand", 225, 502, {0, 0, 0}, true);
    DrawText(screen, p["options.png"], "Generated by Brimstrand", 225, 501, Rgb8(213, 219, 214), true);
    DrawPicture(screen, p["flashboom.png"], {-179.8 + 0.08 * 4405, 70 + 0.08 * 189}, true, {1, 1}, 11, {1, 1, 1},
                0.1492f);
    return screen;
}

Image PlayScreen(const Pictures& p)
{
    Image screen(512, 512, Paint(Rgb8(50, 50, 50)));
    DrawBackground(screen, p, "back1.png", 212, {1, 1, 1});
    DrawPicture(screen, p["hud.png"], {256, 256}, true, {1, 1}, 0.6);
    // A stack: column heights, then a few power-ups and a falling piece.
    const Colour colours[] = {Rgb8(189, 189, 189), Rgb8(148, 167, 148), Rgb8(124, 143, 216), Rgb8(199, 176, 157),
                              Rgb8(149, 122, 167)};
    Rng rng(77);
    struct Cell {
        int x, y, kind;
        Colour c;
    };
    std::vector<Cell> cells;
    for (int x = 0; x < 20; ++x) {
        int height = 3 + int(4 + 3 * std::sin(x * 0.7) + rng.Int(0, 3));
        for (int y = 32 - height; y < 32; ++y) {
            if (rng.Int(0, 9) == 0 && y > 32 - height)
                continue;
            Colour c = colours[(x / 2 + y / 3) % 5];
            float off = float(rng.Real(-0.04, 0.04));
            cells.push_back({x, y, rng.Int(0, 30) == 0 ? rng.Int(1, 4) : 0, {c.r + off, c.g + off, c.b + off}});
        }
    }
    cells.push_back({9, 12, 0, colours[4]});
    cells.push_back({10, 12, 0, colours[4]});
    cells.push_back({11, 12, 0, colours[4]});
    cells.push_back({10, 11, 0, colours[4]});
    cells.push_back({5, 25, 2, {}});
    cells.push_back({14, 27, 1, {}});
    cells.push_back({3, 29, 3, {}});
    cells.push_back({17, 28, 4, {}});
    for (const Cell& c : cells) {
        Vec2 at{96.0 + c.x * 16, c.y * 16.0};
        if (c.kind == 0)
            DrawPicture(screen, p["block1.png"], at, false, {1, 1}, 0, c.c);
        else
            DrawPicture(screen, p["powerup" + std::to_string(c.kind) + ".png"], at, false);
    }
    for (const Cell& c : cells)
        if (c.kind == 0)
            DrawPicture(screen, p["shadow.png"], {96.0 + c.x * 16, c.y * 16.0 + 16}, false, {1, 1}, 0, {0, 0, 0},
                        0.395f);
    const Image& points = p["points.png"];
    for (int i = 0; i < 7; ++i)
        DrawCell(screen, points, 10 + i, 10, 8, 12 + 8 * i, 28, 1, {1, 1, 1});
    const char* digits = "1250";
    for (int i = 0; digits[i]; ++i)
        DrawCell(screen, points, digits[i] - '0', 10, 8, 12 + 8 * i, 40, 1, {1, 1, 1});
    DrawPicture(screen, p["flashboom.png"], {96 + 5 * 16 + 8, 25 * 16 + 8}, true, {0.75, 0.75}, 128,
                Rgb8(255, 250, 39), 0.3f);
    return screen;
}

} // namespace

Image MakeContactSheet(const std::vector<NamedPicture>& list)
{
    Pictures p;
    for (const NamedPicture& n : list)
        p.byName[n.file] = n.image;
    const int width = 1080, margin = 16;
    Image sheet(width, 4000, Paint(Rgb8(34, 36, 44)));
    const Image& font = p["options.png"];
    int y = margin;
    Composite(sheet, TitleScreen(p), margin, y);
    Composite(sheet, PlayScreen(p), width - margin - 512, y);
    y += 512 + margin;

    // Backgrounds as thumbnails, five to a row.
    int x = margin;
    for (int i = 1; i <= 10; ++i) {
        std::string file = "back" + std::to_string(i) + ".png";
        Image thumb = Downsample(p[file], 5);
        Composite(sheet, thumb, x, y + 20);
        DrawText(sheet, font, file, x, y, Rgb8(220, 224, 232));
        x += 204 + 8;
        if (i % 5 == 0)
            x = margin, y += 204 + 20 + 12;
    }

    // Everything else at its own size (small pictures enlarged), shortest first, flowing in rows.
    std::vector<const NamedPicture*> rest;
    for (const NamedPicture& n : list)
        if (n.file.rfind("back", 0) != 0)
            rest.push_back(&n);
    std::stable_sort(rest.begin(), rest.end(),
                     [](const NamedPicture* a, const NamedPicture* b) { return a->image->Height() < b->image->Height(); });
    int row_height = 0;
    x = margin;
    for (const NamedPicture* n : rest) {
        int zoom = n->image->Width() <= 16 ? 4 : n->image->Width() <= 100 ? 3 : 1;
        int w = n->image->Width() * zoom, h = n->image->Height() * zoom;
        int cell = std::max(w, int(n->file.size()) * 12);
        if (x + cell > width - margin)
            x = margin, y += row_height + 12, row_height = 0;
        Checkerboard(sheet, x, y + 20, w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                sheet.Blend(x + i, y + 20 + j, n->image->At(i / zoom, j / zoom));
        DrawText(sheet, font, n->file, x, y, Rgb8(220, 224, 232));
        x += cell + 16;
        row_height = std::max(row_height, h + 20);
    }
    y += row_height + margin;
    Image out(width, y);
    Composite(out, sheet, 0, 0);
    return out;
}
