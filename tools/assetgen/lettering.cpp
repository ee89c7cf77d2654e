#include "tools/assetgen/lettering.h"

#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cmath>

const char kFontStripOrder[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:-_.?!,'\"@";

namespace {

// Light lettering with a dark rim and a soft drop shadow, readable over any background.
// `field` is the ink's distance in picture pixels.
template <class Field>
void PaintLightLettering(Image& image, const Field& field, Box ink, double top, double bottom, double rim, double shadow)
{
    Box all = ink.Grown(rim + shadow * 3 + 2);
    FillSoft(image, all, Paint(palette::kInk, 0.55f),
             [&](Vec2 p) { return 1.0f - Smoothstep(-1.0, shadow * 2.2, field(p - Vec2{0, shadow})); });
    FillField(image, all, [&](Vec2 p) { return field(p) - rim; }, [&](Vec2) { return Paint(palette::kInk, 0.85f); });
    FillField(image, all, field, [&](Vec2 p) {
        float t = Clamp01((p.y - top) / (bottom - top));
        Colour c = Mix(Rgb8(255, 255, 255), Rgb8(196, 204, 232), t * t);
        return Paint(c);
    });
}

// Pixel designs of the score glyphs, 6 by 7: digits 0 to 9, then P O I N T S :.
const char* const kPointGlyphs[17][7] = {
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"..##..", ".###..", "..##..", "..##..", "..##..", "..##..", ".####."},
    {".####.", "##..##", "....##", "..###.", ".##...", "##....", "######"},
    {".####.", "##..##", "....##", "..###.", "....##", "##..##", ".####."},
    {"....##", "...###", "..#.##", ".#..##", "######", "....##", "....##"},
    {"######", "##....", "#####.", "....##", "....##", "##..##", ".####."},
    {"..###.", ".##...", "##....", "#####.", "##..##", "##..##", ".####."},
    {"######", "....##", "...##.", "..##..", "..##..", ".##...", ".##..."},
    {".####.", "##..##", "##..##", ".####.", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", ".#####", "....##", "...##.", ".###.."},
    {"#####.", "##..##", "##..##", "#####.", "##....", "##....", "##...."},
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},
    {"##..##", "###.##", "######", "##.###", "##..##", "##..##", "##..##"},
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##.."},
    {".####.", "##..##", "##....", ".####.", "....##", "##..##", ".####."},
    {"......", "..##..", "..##..", "......", "..##..", "..##..", "......"},
};

} // namespace

Image MakeFontStrip(int density)
{
    Image image(12 * kFontStripCells, 16, density);
    for (int cell = 0; cell < kFontGlyphs; ++cell) {
        StrokeSet pen(1.0);
        AddGlyph(pen, *FindGlyph(kFontStripOrder[cell]), {12.0 * cell, 0}, 1, 1);
        FillField(image, pen.Bounds().Grown(1), [&](Vec2 p) { return pen.Distance(p); },
                  [](Vec2) { return Paint({1, 1, 1}); }, 4);
    }
    return image;
}

Image MakePoints(int density)
{
    Image image(100, 16, density);
    for (int frame = 0; frame < 17; ++frame) {
        int ox = (frame % 10) * 10, oy = (frame / 10) * 8;
        // Digits warm, the label cool, both fading a little towards the baseline.
        Colour top = frame < 10 ? Rgb8(255, 246, 222) : Rgb8(214, 222, 255);
        Colour bottom = frame < 10 ? Rgb8(236, 196, 140) : Rgb8(150, 166, 226);
        for (int pass = 0; pass < 2; ++pass)
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 6; ++x) {
                    if (kPointGlyphs[frame][y][x] != '#')
                        continue;
                    // A design pixel is density pixels square; its shade is taken at each pixel's
                    // own height, half a pixel up, where density 1 takes it at the row's top.
                    for (int j = 0; j < density; ++j)
                        for (int i = 0; i < density; ++i) {
                            const int px = (ox + x) * density + i, py = (oy + y) * density + j;
                            if (pass == 0) {
                                image.Blend(px + density, py + density, Paint(palette::kInk, 0.8f));
                                continue;
                            }
                            const float row = std::clamp(float((j + 0.5) / density - 0.5 + y), 0.0f, 6.0f);
                            image.At(px, py) = Paint(Mix(top, bottom, row / 6.0f));
                        }
                }
    }
    return image;
}

Image MakeLogo(int density)
{
    const std::string title = "BRIMSTRAND";
    const Colour colours[] = {palette::kPeriwinkle, palette::kMauve, palette::kSand, palette::kSage, palette::kSilver};
    const double sy = 7.4, radius = 6.5, gap = 9;
    double sx = 4.4;
    while (TextWidth(title, sx, radius, gap) > 452)
        sx -= 0.05;
    Image image(512, 128, density);
    double width = TextWidth(title, sx, radius, gap);
    Vec2 origin{256 - width / 2, 64 - 7.5 * sy};
    StrokeSet word = LayoutText(title, origin, sx, sy, radius, gap);
    auto field = [&](Vec2 p) { return word.Distance(p); };
    Box all = word.Bounds().Grown(22);
    double top = origin.y + 3 * sy - radius, bottom = origin.y + 12 * sy + radius;

    FillSoft(image, all, Paint(palette::kInk, 0.6f),
             [&](Vec2 p) { return 1.0f - Smoothstep(-2, 12, field(p - Vec2{3, 6})); });
    FillField(image, all, [&](Vec2 p) { return field(p) - 3.2; }, [&](Vec2) { return Paint(palette::kInk, 0.95f); });

    // Each letter in a piece colour, lit from the top left over a rounded bevel.
    const Vec2 light{-0.45, -0.7};
    const double bevel = radius * 0.45;
    double x = origin.x;
    for (size_t i = 0; i < title.size(); ++i) {
        StrokeSet letter = LayoutText(title.substr(i, 1), {x, origin.y}, sx, sy, radius, gap);
        x += TextWidth(title.substr(i, 1), sx, radius, gap) + gap;
        auto letter_field = [&](Vec2 p) { return letter.Distance(p); };
        Colour base = colours[i % 5];
        FillField(image, letter.Bounds().Grown(2), letter_field, [&](Vec2 p) {
            double depth = -letter_field(p);
            Vec2 g = Gradient(letter_field, p);
            // A chiselled rim like the blocks': lit facing the light, shaded facing away.
            double slope = 1.0 - Smoothstep(bevel - 1.0, bevel + 0.5, depth);
            double lit = (g.x * light.x + g.y * light.y) * slope;
            float t = Clamp01((p.y - top) / (bottom - top));
            Colour c = Mix(Mix(base, {1, 1, 1}, 0.35f), Scaled(base, 0.8f), t);
            c = lit > 0 ? Mix(c, {1, 1, 1}, float(lit * 0.75)) : Mix(c, palette::kInk, float(-lit * 0.6));
            return Paint(c);
        });
    }
    return image;
}

Image MakeMenuItem(const std::string& text, int density)
{
    // Laid out in display pixels, then stretched to 1 / 0.6 of the width.
    const double squeeze = 0.6, sx = 2.1, sy = 2.5, radius = 2.3, gap = 3.2;
    Image image(512, 64, density);
    double width = TextWidth(text, sx, radius, gap);
    Vec2 origin{256 * squeeze - width / 2, 32 - 7.5 * sy};
    StrokeSet pen = LayoutText(text, origin, sx, sy, radius, gap);
    Box ink = pen.Bounds();
    ink.x0 /= squeeze, ink.x1 /= squeeze;
    PaintLightLettering(image, [&](Vec2 p) { return pen.Distance({p.x * squeeze, p.y}); }, ink,
                        origin.y + 3 * sy, origin.y + 12 * sy, 1.3, 2.0);
    return image;
}

Image MakeCaption(const std::string& text, int density)
{
    const double sx = 2.0, sy = 2.2, radius = 1.8, gap = 6;
    Image image(256, 48, density);
    double width = TextWidth(text, sx, radius, gap);
    Vec2 origin{128 - width / 2, 24 - 7.5 * sy};
    StrokeSet pen = LayoutText(text, origin, sx, sy, radius, gap);
    PaintLightLettering(image, [&](Vec2 p) { return pen.Distance(p); }, pen.Bounds(), origin.y + 3 * sy,
                        origin.y + 12 * sy, 1.2, 1.6);
    return image;
}
