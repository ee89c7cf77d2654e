#include "tools/assetgen/sprites.h"

#include "tools/assetgen/noise.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

const Vec2 kLight{-0.6, -0.8}; // light from the top left, as everywhere in the game

// Icon ink: light with a dark offset shadow, so it reads on any face colour. The glyph field is
// drawn in the units of a 16-pixel cell.
template <class Field>
void PaintGlyph(Image& image, Vec2 corner, double size, const Field& glyph)
{
    const double k = size / 16;
    const auto field = [&](Vec2 p) { return glyph((p - corner) * (1 / k)) * k; };
    const Box all{corner.x, corner.y, corner.x + size, corner.y + size};
    FillField(image, all, [&](Vec2 p) { return field(p - Vec2{0.7, 0.9} * k) - 0.3 * k; },
              [](Vec2) { return Paint(palette::kInk, 0.75f); }, 4);
    FillField(image, all, field,
              [&](Vec2 p) { return Paint(Mix({1, 1, 1}, palette::kMist, float((p.y - corner.y) / size))); }, 4);
}

Colour PowerupColour(int kind)
{
    switch (kind) {
    case 1: return palette::kSlowTeal;
    case 2: return palette::kBlastEmber;
    case 3: return palette::kCollapseGold;
    default: return palette::kFlipViolet;
    }
}

// The glyph of each power-up kind, in the units of a 16-pixel cell.
std::function<double(Vec2)> PowerupGlyph(int kind)
{
    switch (kind) {
    case 1: { // slow-down: an hourglass
        Polygon glass;
        glass.AddContour({{4.5, 3.5}, {11.5, 3.5}, {8.6, 8}, {11.5, 12.5}, {4.5, 12.5}, {7.4, 8}});
        StrokeSet caps(0.6);
        caps.AddPolyline({{4, 3.5}, {12, 3.5}});
        caps.AddPolyline({{4, 12.5}, {12, 12.5}});
        return [=](Vec2 p) { return std::min(glass.Distance(p) - 0.1, caps.Distance(p)); };
    }
    case 2: { // blast: an eight-pointed burst
        Polygon star;
        star.AddContour(StarPoints({8, 8}, 8, 5.6, 2.4, 11.25));
        return [=](Vec2 p) { return std::min(star.Distance(p), CircleDistance(p, {8, 8}, 2.6)); };
    }
    case 3: { // collapse: an arrow down onto the floor
        Polygon arrow;
        arrow.AddContour({{6.6, 3}, {9.4, 3}, {9.4, 7}, {11.8, 7}, {8, 10.6}, {4.2, 7}, {6.6, 7}});
        StrokeSet floor(0.75);
        floor.AddPolyline({{4, 12.6}, {12, 12.6}});
        return [=](Vec2 p) { return std::min(arrow.Distance(p), floor.Distance(p)); };
    }
    default: { // flip: one arrow up, one down
        Polygon arrows;
        arrows.AddContour({{5.5, 3}, {8.7, 6.4}, {6.6, 6.4}, {6.6, 12.8}, {4.4, 12.8}, {4.4, 6.4}, {2.3, 6.4}});
        arrows.AddContour({{10.5, 13}, {7.3, 9.6}, {9.4, 9.6}, {9.4, 3.2}, {11.6, 3.2}, {11.6, 9.6}, {13.7, 9.6}});
        return [=](Vec2 p) { return arrows.Distance(p); };
    }
    }
}

} // namespace

void PaintBevelCell(Image& image, Vec2 corner, double size, Colour face_top, Colour face_bottom, uint32_t grain_seed)
{
    const double k = size / 16;
    const Vec2 centre = corner + Vec2{size / 2, size / 2};
    auto field = [&](Vec2 p) { return RoundBoxDistance(p, centre, {size / 2, size / 2}, 1.6 * k); };
    FillField(image, {corner.x, corner.y, corner.x + size, corner.y + size}, field, [&](Vec2 p) {
        double depth = -field(p) / k;
        Vec2 g = Gradient(field, p, 0.3 * k);
        double facing = g.x * kLight.x + g.y * kLight.y;
        float t = float(((p.x - corner.x) + (p.y - corner.y)) / (2 * size));
        Colour c = Mix(face_top, face_bottom, t);
        float grain = (HashUnit(grain_seed, int(p.x), int(p.y)) - 0.5f) * 0.03f;
        c = {c.r + grain, c.g + grain, c.b + grain};
        if (depth < 1.0)
            c = facing > 0 ? Mix(c, {1, 1, 1}, float(0.85 * facing)) : Mix(c, Scaled(c, 0.42f), float(-facing));
        else if (depth < 2.2)
            c = facing > 0 ? Mix(c, {1, 1, 1}, float(0.35 * facing)) : Mix(c, Scaled(c, 0.7f), float(-facing));
        return Paint(c);
    }, 4);
}

void PaintPowerupCell(Image& image, Vec2 corner, double size, int kind)
{
    const Colour face = PowerupColour(kind);
    PaintBevelCell(image, corner, size, Mix(face, {1, 1, 1}, 0.2f), Scaled(face, 0.8f), uint32_t(20 + kind));
    PaintGlyph(image, corner, size, PowerupGlyph(kind));
}

Image MakeBlock(int density)
{
    Image image(16, 16, density);
    PaintBevelCell(image, {0, 0}, 16, Rgb8(246, 246, 246), Rgb8(206, 206, 206), 11);
    return image;
}

Image MakePowerup(int kind, int density)
{
    Image image(16, 16, density);
    PaintPowerupCell(image, {0, 0}, 16, kind);
    return image;
}

Image MakeShadow(int density)
{
    Image image(16, 32, density);
    for (int y = 0; y < image.Height(); ++y) {
        const float centre = (y + 0.5f) / float(density);
        float a = std::pow(1.0f - centre / 32.0f, 1.6f);
        for (int x = 0; x < image.Width(); ++x)
            image.At(x, y) = Paint({0, 0, 0}, a);
    }
    return image;
}

Image MakeCircle(int density)
{
    Image image(16, 16, density);
    const double k = density;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            double d = Length(Vec2{(x + 0.5) / k, (y + 0.5) / k} - Vec2{8, 8}) / 7.6;
            float a = d < 1 ? float(std::pow(1 - d * d, 1.8)) : 0.0f;
            image.At(x, y) = Paint({1, 1, 1}, a);
        }
    return image;
}

Image MakeFlashBoom(int density)
{
    const int size = 256;
    const double c = size / 2.0;
    Rng rng(404);
    struct Ray {
        double angle, length, width;
    };
    std::vector<Ray> rays;
    for (int i = 0; i < 14; ++i)
        rays.push_back({i * 360.0 / 14 + rng.Real(-8, 8), rng.Real(0.55, 0.97) * c, rng.Real(2.5, 5.5)});
    Image image(size, size, density);
    const double k = density;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Vec2 d{(x + 0.5) / k - c, (y + 0.5) / k - c};
            double r = Length(d);
            double angle = std::atan2(d.y, d.x) * 180 / std::numbers::pi;
            double a = std::exp(-r * r / (2 * 14.0 * 14.0)) + 0.45 * std::exp(-r * r / (2 * 42.0 * 42.0));
            for (const Ray& ray : rays) {
                double da = std::remainder(angle - ray.angle, 360.0);
                // Rays narrow towards their tips and fade out along their length.
                double across = std::abs(da) * std::numbers::pi / 180 * r;
                double width = ray.width * (1.0 - 0.7 * std::min(1.0, r / ray.length));
                double along = std::max(0.0, 1.0 - r / ray.length);
                a += 0.85 * along * along * std::exp(-across * across / (2 * width * width));
            }
            // A faint ring where the blast front runs.
            a += 0.16 * std::exp(-std::pow((r - c * 0.62) / 5.0, 2));
            a *= Smoothstep(c, c * 0.86, r);
            image.At(x, y) = Paint(Mix({1, 1, 1}, palette::kGlow, float(std::min(1.0, r / c))), Clamp01(a));
        }
    return image;
}
