#include "tools/assetgen/backgrounds.h"

#include "tools/assetgen/noise.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using palette::kMauve;
using palette::kNight;
using palette::kPeriwinkle;
using palette::kSage;
using palette::kSand;
using palette::kSilver;
using palette::kSlate;

constexpr double kPi = std::numbers::pi;
constexpr int N = kBackgroundSize;

// The play screen turns the picture about its centre, drawn at (256, 116) of the 512-pixel
// canvas, so over a play every point nearer the centre than the well's far corners (427 pixels
// off, a few more while a blast sways the frame) passes behind the well. There the picture is
// calm; beyond, it eases back into its own mood.
constexpr double kCalmRadius = 436;
constexpr double kMoodRadius = 580;
// Calm: softened so that nothing the size of a block (16 pixels) keeps an edge, and its own
// range of brightness brought under a ceiling, so the dimmest block stands out from it
// threefold over the well's slate; hue kept and a little deepened, as colour reads less in the
// dark.
constexpr double kCalmBlur = 5;
// Pictures of plates and of pieces blur further, till no edge of one is left to see.
constexpr double kCalmShapesBlur = 28;
constexpr float kCalmCeiling = 0.1f;
// The disc's own range of brightness, between the darkest and the brightest few hundredths of
// it, is spread from the floor to the ceiling's knee.
constexpr double kCalmBottom = 0.01;
constexpr double kCalmTop = 0.95;
constexpr float kCalmFloor = 0.25f; // the darkest left, as a share of the ceiling
constexpr float kCalmSaturation = 1.5f;
constexpr float kCalmGrey = 1.0f / 255; // keeps black a colour, if a grey one
// The soft picture holds nothing fine, so it is worked out at a quarter of the size.
constexpr int kCalmStep = 4;

Colour Add(Colour a, Colour b, float k) { return {a.r + b.r * k, a.g + b.g * k, a.b + b.b * k}; }

// Colour ramp through evenly spaced stops.
Colour Ramp(std::initializer_list<Colour> stops, double t)
{
    t = std::clamp(t, 0.0, 1.0) * (stops.size() - 1);
    size_t i = std::min(size_t(t), stops.size() - 2);
    return Mix(stops.begin()[i], stops.begin()[i + 1], float(t - i));
}

// Paints every pixel from a function of the position in [0, 1] squared.
template <class F>
Image Render(const F& colour)
{
    Image image(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            image.At(x, y) = Paint(colour(Vec2{(x + 0.5) / N, (y + 0.5) / N}));
    return image;
}

// Adds soft points of light; `weight` (0 to 1) thins them out where it is low.
template <class W>
void Sprinkle(Image& image, uint32_t seed, int count, double brightness, const W& weight)
{
    Rng rng(seed);
    const Colour tints[] = {{1, 1, 1}, Mix(kPeriwinkle, {1, 1, 1}, 0.5f), Mix(kSand, {1, 1, 1}, 0.4f)};
    for (int i = 0; i < count; ++i) {
        Vec2 c{rng.Real(0, N), rng.Real(0, N)};
        double keep = rng.Real(0, 1);
        double size = 0.9 + 1.6 * std::pow(rng.Real(0, 1), 3);
        double glow = brightness * (0.25 + 0.75 * std::pow(rng.Real(0, 1), 2));
        Colour tint = tints[rng.Int(0, 2)];
        if (keep > weight(Vec2{c.x / N, c.y / N}))
            continue;
        int r = int(std::ceil(size * 3));
        for (int y = int(c.y) - r; y <= int(c.y) + r; ++y)
            for (int x = int(c.x) - r; x <= int(c.x) + r; ++x) {
                if (x < 0 || y < 0 || x >= N || y >= N)
                    continue;
                double d2 = std::pow(x + 0.5 - c.x, 2) + std::pow(y + 0.5 - c.y, 2);
                float k = float(glow * std::exp(-d2 / (2 * size * size)));
                Rgba& p = image.At(x, y);
                p = {p.r + tint.r * k, p.g + tint.g * k, p.b + tint.b * k, 1};
            }
    }
}

// Darkens towards the corners, which only show while the picture is turned.
void Vignette(Image& image, float strength)
{
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            double d = Length(Vec2{(x + 0.5) / N - 0.5, (y + 0.5) / N - 0.5}) * 2;
            float k = 1.0f - strength * Smoothstep(0.35, 1.4, d);
            Rgba& p = image.At(x, y);
            p = {p.r * k, p.g * k, p.b * k, 1};
        }
}

Image Nebula()
{
    const uint32_t s = 100;
    Image image = Render([](Vec2 p) {
        double qx = Fbm(s, p.x * 3, p.y * 3, 4), qy = Fbm(s + 1, p.x * 3 + 5.2, p.y * 3 + 1.3, 4);
        double gas = Fbm(s + 2, p.x * 2.5 + 1.8 * qx, p.y * 2.5 + 1.8 * qy, 6);
        double glow = Fbm(s + 3, p.x * 4 + 2.5 * qx, p.y * 4 + 2.5 * qy, 5);
        double dust = Fbm(s + 4, p.x * 5 + qy, p.y * 5 + qx, 5);
        Colour c = Mix(kNight, Scaled(kSlate, 0.7f), float(0.5 + 0.5 * qx));
        c = Add(c, kMauve, 0.55f * Smoothstep(-0.15, 0.6, gas));
        c = Add(c, kPeriwinkle, 0.4f * Smoothstep(0.05, 0.7, glow));
        c = Add(c, kSand, 0.18f * Smoothstep(0.3, 0.8, gas + glow * 0.5));
        return Scaled(c, 1.0f - 0.55f * Smoothstep(0.1, 0.55, dust));
    });
    Sprinkle(image, s + 5, 1400, 0.7, [](Vec2) { return 1.0; });
    Vignette(image, 0.5f);
    return image;
}

Image Aurora()
{
    const uint32_t s = 200;
    Image image = Render([](Vec2 p) {
        double warp = Fbm(s, p.x * 1.8, p.y * 1.8, 4);
        double u = p.x * 1.6 + 1.0 * warp;
        double fold = std::pow(0.5 + 0.5 * std::sin(u * 2 * kPi * 1.1), 3) +
                      0.5 * std::pow(0.5 + 0.5 * std::sin(u * 2 * kPi * 2.3 + 1.3), 4);
        double height = Fbm(s + 1, u * 2.5, p.y * 1.2, 4);
        double curtain = fold * Smoothstep(-0.45, 0.35, height + (0.5 - p.y) * 0.8);
        double streak = 0.65 + 0.35 * Noise(s + 2, u * 34, p.y * 2.5);
        Colour sky = Mix(Rgb8(22, 26, 48), Rgb8(36, 48, 66), float(p.y));
        Colour light = Ramp({Scaled(kSage, 1.2f), Mix(kSage, Rgb8(84, 178, 176), 0.6f), kMauve}, 1.0 - p.y * 1.1 + warp * 0.3);
        return Add(sky, light, float(0.55 * curtain * streak));
    });
    Sprinkle(image, s + 3, 700, 0.55, [](Vec2) { return 1.0; });
    Vignette(image, 0.45f);
    return image;
}

Image Marble()
{
    const uint32_t s = 300;
    Image image = Render([](Vec2 p) {
        double turb = Fbm(s, p.x * 2.0, p.y * 2.0, 5);
        double t = p.x * 2.2 + p.y * 1.4 + 2.2 * turb;
        double vein = std::exp(-std::pow(std::sin(t * kPi) / 0.22, 2));
        double soft = std::exp(-std::pow(std::sin((t * 1.7 + 0.8 * Fbm(s + 1, p.x * 3, p.y * 3, 4)) * kPi) / 0.3, 2));
        double cloud = Fbm(s + 2, p.x * 1.5, p.y * 1.5, 5);
        Colour c = Mix(Scaled(kSand, 0.3f), Scaled(kSilver, 0.26f), float(0.5 + 0.6 * cloud));
        c = Mix(c, Scaled(kMauve, 0.2f), Smoothstep(0.05, 0.5, -cloud));
        c = Mix(c, Scaled(kSand, 0.5f), float(soft * 0.3));
        return Mix(c, Mix(Scaled(kSand, 0.68f), Scaled(kSilver, 0.6f), 0.5f), float(vein * 0.55));
    });
    Vignette(image, 0.4f);
    return image;
}

Image Bokeh()
{
    const uint32_t s = 400;
    Image image = Render([](Vec2 p) {
        double mist = Fbm(s, p.x * 2, p.y * 2, 4);
        return Mix(Mix(Rgb8(40, 44, 70), kNight, float(p.y * 0.7 + p.x * 0.3)), Scaled(kMauve, 0.3f),
                   Smoothstep(0.0, 0.7, mist));
    });
    Rng rng(s + 1);
    const Colour colours[] = {kSilver, kSage, kPeriwinkle, kSand, kMauve};
    for (int i = 0; i < 150; ++i) {
        // Far discs first: small, dim and soft; near ones large and faint.
        double depth = i / 150.0;
        double radius = 10 + 80 * depth * depth + rng.Real(0, 12);
        Vec2 c{rng.Real(-40, N + 40), rng.Real(-40, N + 40)};
        Colour colour = colours[rng.Int(0, 4)];
        float strength = float(rng.Real(0.05, 0.16) * (1.1 - 0.5 * depth));
        double soft = 1.5 + 5 * depth;
        FillSoft(image, Box{c.x - radius - soft * 3, c.y - radius - soft * 3, c.x + radius + soft * 3,
                            c.y + radius + soft * 3},
                 Paint(colour, 1), [&](Vec2 p) {
                     double d = CircleDistance(p, c, radius);
                     float body = 1.0f - Smoothstep(-soft, soft, d);
                     float rim = float(std::exp(-std::pow((d + soft) / (soft + 1.5), 2))) * 0.6f;
                     return std::min(1.0f, (body * 0.7f + rim) * strength);
                 });
    }
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            image.At(x, y).a = 1;
    Vignette(image, 0.5f);
    return image;
}

Image Galaxy()
{
    const uint32_t s = 500;
    auto arms = [](Vec2 p) {
        Vec2 d{p.x - 0.5, p.y - 0.5};
        double r = Length(d) + 1e-6, theta = std::atan2(d.y, d.x);
        double swirl = theta - 2.4 * std::log(r) + 0.9 * Fbm(s, p.x * 3, p.y * 3, 4);
        double arm = std::pow(0.5 + 0.5 * std::cos(2 * swirl), 3);
        return arm * std::exp(-r / 0.32) * Smoothstep(0.02, 0.12, r);
    };
    Image image = Render([&](Vec2 p) {
        double r = Length(Vec2{p.x - 0.5, p.y - 0.5});
        double a = arms(p);
        double dust = Fbm(s + 1, p.x * 7, p.y * 7, 4);
        double core = std::exp(-r * r / 0.004);
        Colour c = Mix(Rgb8(18, 18, 36), Rgb8(30, 30, 56), float(0.5 + 0.5 * Fbm(s + 2, p.x * 2, p.y * 2, 3)));
        c = Add(c, Mix(kPeriwinkle, kMauve, float(std::min(1.0, r * 2.5))), float(0.75 * a * (0.75 + 0.35 * dust)));
        c = Add(c, Mix(kSand, {1, 1, 1}, 0.3f), float(0.55 * core + 0.12 * std::exp(-r / 0.12)));
        return Scaled(c, 1.0f - 0.4f * Smoothstep(0.2, 0.6, dust) * float(a > 0.05));
    });
    Sprinkle(image, s + 3, 2200, 0.6, [&](Vec2 p) { return 0.25 + 2.5 * arms(p); });
    Vignette(image, 0.35f);
    return image;
}

Image Crystal()
{
    const uint32_t s = 600;
    const double cell = 120;
    const Colour colours[] = {kSilver, kSage, kPeriwinkle, kSand, kMauve};
    return Render([&](Vec2 p) {
        double px = p.x * N / cell, py = p.y * N / cell;
        int ix = int(std::floor(px)), iy = int(std::floor(py));
        double f1 = 1e9, f2 = 1e9;
        uint32_t id = 0;
        Vec2 seed1;
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) {
                Vec2 c{ix + i + 0.15 + 0.7 * HashUnit(s, ix + i, iy + j), iy + j + 0.15 + 0.7 * HashUnit(s + 1, ix + i, iy + j)};
                double d = Length(Vec2{px, py} - c);
                if (d < f1) {
                    f2 = f1, f1 = d, seed1 = c;
                    id = Hash(s + 2, ix + i, iy + j);
                } else if (d < f2) {
                    f2 = d;
                }
            }
        double edge = (f2 - f1) * cell * 0.5; // roughly the pixels to the border
        Colour c = Scaled(colours[id % 5], 0.22f + 0.1f * float((id >> 8) % 100) / 100);
        // Each plate is lit a little from the top left, a facet of a larger crystal.
        Vec2 to_seed = Vec2{px, py} - seed1;
        c = Scaled(c, float(1.0 + 0.35 * (-(to_seed.x + to_seed.y) * 0.5)));
        c = Mix(c, Scaled(c, 1.5f), float(0.3 * std::exp(-std::pow((edge - 5) / 3.0, 2))));
        c = Mix(Scaled(kNight, 0.7f), c, Smoothstep(1.0, 4.0, edge));
        return Mix(c, kNight, 0.25f * Smoothstep(-0.2, 0.6, Fbm(s + 3, p.x * 2, p.y * 2, 4)));
    });
}

Image Satin()
{
    const uint32_t s = 700;
    auto height = [](Vec2 p) {
        double w = Fbm(s, p.x * 1.2, p.y * 1.2, 3);
        return std::sin(2 * kPi * 3.2 * (0.8 * p.x + 0.6 * p.y) + 4.0 * w);
    };
    Image image = Render([&](Vec2 p) {
        const double e = 1.0 / N, k = 0.035;
        double h = height(p);
        double dx = (height(p + Vec2{e, 0}) - h) / e, dy = (height(p + Vec2{0, e}) - h) / e;
        // Light on the folds from the top left, as on everything else in the game.
        double nz = 1.0 / std::sqrt(1 + k * k * (dx * dx + dy * dy));
        double shade = std::max(0.0, (0.45 * k * dx + 0.6 * k * dy + 0.66) * nz);
        Colour c = Mix(Scaled(kPeriwinkle, 0.5f), Scaled(kMauve, 0.55f),
                       float(0.5 + 0.5 * Fbm(s + 1, p.x * 1.5, p.y * 1.5, 3)));
        c = Scaled(c, float(0.14 + 0.82 * shade));
        return Mix(c, Scaled(kSilver, 0.8f), float(0.3 * std::pow(shade, 12)));
    });
    Vignette(image, 0.4f);
    return image;
}

Image Drift()
{
    const uint32_t s = 800;
    // The seven piece forms as cells in their 4 by 4 grid (row-major bits).
    const char* forms[] = {"....XXXX........", ".....XX.XX......", "....XX...XX.....", "X...XXX.........",
                           "..X.XXX.........", "XX..XX..........", ".X..XXX........."};
    const Colour colours[] = {kSilver, kSage, kSage, kPeriwinkle, kPeriwinkle, kSand, kMauve};
    Image image = Render([](Vec2 p) {
        double mist = Fbm(s, p.x * 1.6, p.y * 1.6, 5);
        return Mix(Mix(Rgb8(36, 40, 64), Rgb8(24, 24, 42), float(p.y)), Scaled(kPeriwinkle, 0.3f),
                   Smoothstep(0.0, 0.8, mist));
    });
    Rng rng(s + 1);
    for (int i = 0; i < 46; ++i) {
        double depth = i / 46.0; // far pieces first
        int form = rng.Int(0, 6);
        double size = 22 + 44 * depth + rng.Real(0, 8);
        double angle = rng.Real(0, 360);
        Vec2 centre{rng.Real(-60, N + 60), rng.Real(-60, N + 60)};
        double blur = 1 + 7 * std::abs(depth - 0.55) * 2;
        float alpha = float(0.16 + 0.22 * depth);
        Colour colour = Mix(Scaled(colours[form], 0.75f), kNight, float(0.5 - 0.4 * depth));
        auto field = [&](Vec2 p) {
            Vec2 local = Rotated(p - centre, -angle) * (1.0 / size) + Vec2{2, 2};
            double best = 1e9;
            for (int k = 0; k < 16; ++k)
                if (forms[form][k] == 'X')
                    best = std::min(best, RoundBoxDistance(local, {k % 4 + 0.5, k / 4 + 0.5}, {0.46, 0.46}, 0.12));
            return best * size;
        };
        double reach = size * 3 + blur * 3;
        FillSoft(image, Box{centre.x - reach, centre.y - reach, centre.x + reach, centre.y + reach},
                 Paint(colour), [&](Vec2 p) {
                     double d = field(p);
                     float body = 1.0f - Smoothstep(-blur, blur, d);
                     float rim = float(std::exp(-std::pow((d + blur * 0.5 + 2) / (blur + 1.5), 2))) * 0.5f;
                     return std::min(1.0f, alpha * (body + rim));
                 });
    }
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            image.At(x, y).a = 1;
    Vignette(image, 0.45f);
    return image;
}

Image Smoke()
{
    const uint32_t s = 900;
    Image image = Render([](Vec2 p) {
        double qx = Fbm(s, p.x * 2.2, p.y * 2.2, 4), qy = Fbm(s + 1, p.x * 2.2 + 3.1, p.y * 2.2 - 1.7, 4);
        double ridge = 0;
        double amp = 0.5, fx = p.x * 3 + qx * 1.4, fy = p.y * 3 + qy * 1.4;
        for (int o = 0; o < 5; ++o) {
            ridge += amp * (1 - std::abs(Noise(s + 2 + o, fx, fy)));
            fx *= 2.03, fy *= 2.03, amp *= 0.5;
        }
        Vec2 d{p.x - 0.5, p.y - 0.5};
        double r = Length(d), theta = std::atan2(d.y, d.x);
        double rays = 0.5 + 0.5 * Fbm(s + 9, std::cos(theta) * 2.5 + 7, std::sin(theta) * 2.5, 3);
        // Rays blur into the glow near their source instead of meeting in a point.
        rays = std::pow(rays, 3) * std::exp(-r * 2.2) * Smoothstep(0.0, 0.22, r) + 0.06 * std::exp(-r * 4);
        Colour c = Mix(Rgb8(30, 24, 42), Rgb8(44, 34, 52), float(0.5 + qx));
        c = Add(c, Mix(kMauve, Rgb8(190, 120, 130), 0.35f), float(0.45 * std::pow(ridge, 2.2)));
        return Add(c, Mix(kSand, {1, 1, 1}, 0.2f), float(0.5 * rays + 0.1 * std::exp(-r * r / 0.02)));
    });
    Vignette(image, 0.45f);
    return image;
}

Image Contours()
{
    const uint32_t s = 1000;
    auto height = [](Vec2 p) { return Fbm(s, p.x * 2.3, p.y * 2.3, 5, 0.45) + 0.35 * std::cos(p.x * 3 - p.y * 2); };
    return Render([&](Vec2 p) {
        const double e = 1.0 / N;
        double h = height(p);
        double gx = (height(p + Vec2{e, 0}) - h) / e, gy = (height(p + Vec2{0, e}) - h) / e;
        double slope = std::max(1e-4, Length({gx, gy}) / N); // height change per pixel
        double levels = h * 9;
        double dist = std::abs(levels - std::round(levels)) / (slope * 9); // pixels to a contour
        bool major = int(std::lround(levels)) % 4 == 0;
        double width = major ? 1.8 : 1.1;
        float line = float(std::exp(-std::pow(dist / width, 2)));
        Colour c = Ramp({Rgb8(20, 34, 48), Scaled(Rgb8(84, 178, 176), 0.32f), Scaled(kSage, 0.42f),
                         Scaled(kSand, 0.42f)},
                        0.5 + 0.6 * h);
        double lit = std::clamp(-(gx + gy) * 0.02, -1.0, 1.0);
        c = Mix(c, lit > 0 ? Scaled(c, 1.4f) : Scaled(c, 0.7f), float(std::abs(lit)));
        return Mix(c, Mix(kSage, {1, 1, 1}, 0.3f), line * (major ? 0.35f : 0.18f));
    });
}

float Luma(Rgba p) { return 0.2126f * p.r + 0.7152f * p.g + 0.0722f * p.b; }

// How far a point lies from the turning centre.
double Radius(int x, int y) { return Length(Vec2{x + 0.5 - N / 2.0, y + 0.5 - N / 2.0}); }

struct CalmRange {
    float bottom, top;
};

CalmRange DiscRange(const Image& soft)
{
    std::vector<float> lumas;
    for (int y = 0; y < soft.Height(); ++y)
        for (int x = 0; x < soft.Width(); ++x)
            if (Radius(x * kCalmStep + kCalmStep / 2, y * kCalmStep + kCalmStep / 2) < kCalmRadius)
                lumas.push_back(Luma(soft.At(x, y)));
    const auto share = [&](double q) {
        const auto at = lumas.begin() + std::ptrdiff_t(double(lumas.size() - 1) * q);
        std::nth_element(lumas.begin(), at, lumas.end());
        return *at;
    };
    const float bottom = share(kCalmBottom);
    return {bottom, std::max(share(kCalmTop), bottom + 1e-3f)};
}

void CalmBehindWell(Image& image, double blur)
{
    const Image soft = Blur(Downsample(image, kCalmStep), blur / kCalmStep);
    const CalmRange range = DiscRange(soft);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float calm = 1.0f - Smoothstep(kCalmRadius, kMoodRadius, Radius(x, y));
            if (calm <= 0)
                continue;
            // Sampled at the pixel's centre; beside the edge only the inside counts.
            Rgba s = Sample(soft, (x + 0.5) / kCalmStep, (y + 0.5) / kCalmStep);
            s = {s.r / s.a + kCalmGrey, s.g / s.a + kCalmGrey, s.b / s.a + kCalmGrey, 1};
            const float luma = Luma(s);
            // From the floor, linear through the dark and easing into the ceiling, never past it.
            const float t = std::max(0.0f, luma - range.bottom) / (range.top - range.bottom);
            const float dimmed = kCalmCeiling * (kCalmFloor + (1 - kCalmFloor) * t / std::pow(1 + std::pow(t, 4.0f), 0.25f));
            const float k = dimmed / luma;
            const auto calmed = [&](float c) { return std::max(0.0f, dimmed + (c * k - dimmed) * kCalmSaturation); };
            Rgba& p = image.At(x, y);
            p = {p.r + (calmed(s.r) - p.r) * calm, p.g + (calmed(s.g) - p.g) * calm, p.b + (calmed(s.b) - p.b) * calm, 1};
        }
}

Image Painted(int index)
{
    switch (index) {
    case 1: return Nebula();
    case 2: return Aurora();
    case 3: return Marble();
    case 4: return Bokeh();
    case 5: return Galaxy();
    case 6: return Crystal();
    case 7: return Satin();
    case 8: return Drift();
    case 9: return Smoke();
    default: return Contours();
    }
}

} // namespace

Image MakeBackground(int index)
{
    Image image = Painted(index);
    const bool shapes = index == 6 || index == 8; // Crystal, Drift
    CalmBehindWell(image, shapes ? kCalmShapesBlur : kCalmBlur);
    return image;
}
