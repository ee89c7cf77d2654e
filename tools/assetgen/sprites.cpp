#include "tools/assetgen/sprites.h"

#include "tools/assetgen/noise.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/shapes.h"

#include <cmath>
#include <numbers>

namespace {

const Vec2 kLight{-0.6, -0.8}; // light from the top left, as everywhere in the game

// The bevelled tile that blocks and power-ups share: a rounded square whose rim catches the
// light on the top and left and falls into shade on the bottom and right.
Image BevelTile(Colour face_top, Colour face_bottom, uint32_t grain_seed)
{
    Image image(16, 16);
    auto field = [](Vec2 p) { return RoundBoxDistance(p, {8, 8}, {8, 8}, 1.6); };
    FillField(image, {0, 0, 16, 16}, field, [&](Vec2 p) {
        double depth = -field(p);
        Vec2 g = Gradient(field, p, 0.3);
        double facing = g.x * kLight.x + g.y * kLight.y;
        float t = float((p.x + p.y) / 32.0);
        Colour c = Mix(face_top, face_bottom, t);
        float grain = (HashUnit(grain_seed, int(p.x), int(p.y)) - 0.5f) * 0.03f;
        c = {c.r + grain, c.g + grain, c.b + grain};
        if (depth < 1.0)
            c = facing > 0 ? Mix(c, {1, 1, 1}, float(0.85 * facing)) : Mix(c, Scaled(c, 0.42f), float(-facing));
        else if (depth < 2.2)
            c = facing > 0 ? Mix(c, {1, 1, 1}, float(0.35 * facing)) : Mix(c, Scaled(c, 0.7f), float(-facing));
        return Paint(c);
    }, 4);
    return image;
}

// Icon ink: light with a dark offset shadow, so it reads on any face colour.
template <class Field>
void PaintIcon(Image& image, const Field& field)
{
    Box all{0, 0, 16, 16};
    FillField(image, all, [&](Vec2 p) { return field(p - Vec2{0.7, 0.9}) - 0.3; },
              [](Vec2) { return Paint(palette::kInk, 0.75f); }, 4);
    FillField(image, all, field, [](Vec2 p) { return Paint(Mix({1, 1, 1}, palette::kMist, float(p.y / 16))); }, 4);
}

} // namespace

Image MakeBlock() { return BevelTile(Rgb8(246, 246, 246), Rgb8(206, 206, 206), 11); }

Image MakePowerup(int kind)
{
    switch (kind) {
    case 1: { // slow-down: an hourglass
        Image image = BevelTile(Mix(palette::kSlowTeal, {1, 1, 1}, 0.2f), Scaled(palette::kSlowTeal, 0.8f), 21);
        Polygon glass;
        glass.AddContour({{4.5, 3.5}, {11.5, 3.5}, {8.6, 8}, {11.5, 12.5}, {4.5, 12.5}, {7.4, 8}});
        StrokeSet caps(0.6);
        caps.AddPolyline({{4, 3.5}, {12, 3.5}});
        caps.AddPolyline({{4, 12.5}, {12, 12.5}});
        PaintIcon(image, [&](Vec2 p) { return std::min(glass.Distance(p) - 0.1, caps.Distance(p)); });
        return image;
    }
    case 2: { // blast: an eight-pointed burst
        Image image = BevelTile(Mix(palette::kBlastEmber, {1, 1, 1}, 0.2f), Scaled(palette::kBlastEmber, 0.8f), 22);
        Polygon star;
        star.AddContour(StarPoints({8, 8}, 8, 5.6, 2.4, 11.25));
        PaintIcon(image, [&](Vec2 p) { return std::min(star.Distance(p), CircleDistance(p, {8, 8}, 2.6)); });
        return image;
    }
    case 3: { // collapse: an arrow down onto the floor
        Image image =
            BevelTile(Mix(palette::kCollapseGold, {1, 1, 1}, 0.2f), Scaled(palette::kCollapseGold, 0.8f), 23);
        Polygon arrow;
        arrow.AddContour({{6.6, 3}, {9.4, 3}, {9.4, 7}, {11.8, 7}, {8, 10.6}, {4.2, 7}, {6.6, 7}});
        StrokeSet floor(0.75);
        floor.AddPolyline({{4, 12.6}, {12, 12.6}});
        PaintIcon(image, [&](Vec2 p) { return std::min(arrow.Distance(p), floor.Distance(p)); });
        return image;
    }
    default: { // flip: one arrow up, one down
        Image image = BevelTile(Mix(palette::kFlipViolet, {1, 1, 1}, 0.2f), Scaled(palette::kFlipViolet, 0.8f), 24);
        Polygon arrows;
        arrows.AddContour({{5.5, 3}, {8.7, 6.4}, {6.6, 6.4}, {6.6, 12.8}, {4.4, 12.8}, {4.4, 6.4}, {2.3, 6.4}});
        arrows.AddContour({{10.5, 13}, {7.3, 9.6}, {9.4, 9.6}, {9.4, 3.2}, {11.6, 3.2}, {11.6, 9.6}, {13.7, 9.6}});
        PaintIcon(image, [&](Vec2 p) { return arrows.Distance(p); });
        return image;
    }
    }
}

Image MakeShadow()
{
    Image image(16, 32);
    for (int y = 0; y < 32; ++y) {
        float a = std::pow(1.0f - (y + 0.5f) / 32.0f, 1.6f);
        for (int x = 0; x < 16; ++x)
            image.At(x, y) = Paint({0, 0, 0}, a);
    }
    return image;
}

Image MakeCircle()
{
    Image image(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            double d = Length(Vec2{x + 0.5, y + 0.5} - Vec2{8, 8}) / 7.6;
            float a = d < 1 ? float(std::pow(1 - d * d, 1.8)) : 0.0f;
            image.At(x, y) = Paint({1, 1, 1}, a);
        }
    return image;
}

Image MakeFlashBoom()
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
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Vec2 d{x + 0.5 - c, y + 0.5 - c};
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
