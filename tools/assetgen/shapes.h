#pragma once
#include "tools/assetgen/image.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Vector shapes as signed distance fields (negative inside, in pixels), rendered with
// anti-aliasing by supersampling the field. Distances also drive outlines, glows and bevels.

struct Vec2 {
    double x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
Vec2 Rotated(Vec2 v, double degrees);

struct Box {
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    void Add(Vec2 p);
    Box Grown(double d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
    bool Contains(Vec2 p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b);
double CircleDistance(Vec2 p, Vec2 centre, double radius);
// A box of the given half size with corners rounded by `round`.
double RoundBoxDistance(Vec2 p, Vec2 centre, Vec2 half, double round);

// Polylines drawn with one round pen: the distance field of their union.
class StrokeSet {
public:
    explicit StrokeSet(double radius = 1) : radius_(radius) {}
    void AddPolyline(const std::vector<Vec2>& points);
    void Add(const StrokeSet& other);
    double Distance(Vec2 p) const;
    Box Bounds() const { return bounds_.Grown(radius_); }
    double Radius() const { return radius_; }
    bool Empty() const { return segments_.empty(); }

private:
    struct Segment {
        Vec2 a, b;
        Box box;
    };
    double radius_;
    std::vector<Segment> segments_;
    Box bounds_;
};

// Closed polygons filled by the non-zero winding rule.
class Polygon {
public:
    void AddContour(const std::vector<Vec2>& points);
    double Distance(Vec2 p) const;
    Box Bounds() const { return bounds_; }

private:
    std::vector<std::vector<Vec2>> contours_;
    Box bounds_;
};

// Regular star or polygon outline: `points` tips alternating between the two radii.
std::vector<Vec2> StarPoints(Vec2 centre, int points, double outer, double inner, double turn_degrees);

// Unit gradient of a distance field by central differences: the direction away from the ink.
template <class Field>
Vec2 Gradient(const Field& field, Vec2 p, double h = 0.35)
{
    Vec2 g{field(p + Vec2{h, 0}) - field(p - Vec2{h, 0}), field(p + Vec2{0, h}) - field(p - Vec2{0, h})};
    double len = Length(g);
    return len > 1e-9 ? g * (1.0 / len) : Vec2{0, 0};
}

inline float Clamp01(double v) { return float(std::clamp(v, 0.0, 1.0)); }
inline float Smoothstep(double e0, double e1, double x)
{
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return float(t * t * (3 - 2 * t));
}

// Fraction of pixel (x, y) inside the field, from s × s subsamples, at density pixels a unit of
// the field. The fields are true distances (they change by at most a unit per unit), so a pixel
// whose centre lies more than one pixel from the edge is wholly in or out without sampling.
template <class Field>
float Coverage(const Field& field, int x, int y, int s, int density = 1)
{
    const double d = density;
    double centre = field(Vec2{(x + 0.5) / d, (y + 0.5) / d}) * d;
    if (centre >= 1.0)
        return 0.0f;
    if (centre <= -1.0)
        return 1.0f;
    double sum = 0;
    for (int j = 0; j < s; ++j)
        for (int i = 0; i < s; ++i) {
            Vec2 p{(x + (i + 0.5) / s) / d, (y + (j + 0.5) / s) / d};
            sum += std::clamp(0.5 - field(p) * d * s, 0.0, 1.0);
        }
    return float(sum / (s * s));
}

// The pixels of an area given in units, at the picture's density, clamped to the picture.
struct PixelSpan {
    int x0, y0, x1, y1; // inclusive
};
inline PixelSpan PixelsOf(const Image& image, Box area)
{
    const double d = image.Density();
    return {std::max(0, int(std::floor(area.x0 * d))), std::max(0, int(std::floor(area.y0 * d))),
            std::min(image.Width() - 1, int(std::ceil(area.x1 * d))),
            std::min(image.Height() - 1, int(std::ceil(area.y1 * d)))};
}

// Paints the inside of `field` within `area`: each pixel gets shade(pixel centre), a
// premultiplied colour, weighted by its coverage. Area, field and shade are in the picture's units.
template <class Field, class Shade>
void FillField(Image& image, Box area, const Field& field, const Shade& shade, int s = 3)
{
    const PixelSpan span = PixelsOf(image, area);
    const int density = image.Density();
    const double d = density;
    for (int y = span.y0; y <= span.y1; ++y)
        for (int x = span.x0; x <= span.x1; ++x) {
            float c = Coverage(field, x, y, s, density);
            if (c > 0)
                image.Blend(x, y, Faded(shade(Vec2{(x + 0.5) / d, (y + 0.5) / d}), c));
        }
}

// Paints a colour over a whole area where weight(pixel centre) says how much (0 to 1):
// for soft things (glows, shadows, gradients) that need no edge anti-aliasing.
template <class Weight>
void FillSoft(Image& image, Box area, Rgba paint, const Weight& weight)
{
    const PixelSpan span = PixelsOf(image, area);
    const double d = image.Density();
    for (int y = span.y0; y <= span.y1; ++y)
        for (int x = span.x0; x <= span.x1; ++x) {
            float w = weight(Vec2{(x + 0.5) / d, (y + 0.5) / d});
            if (w > 0)
                image.Blend(x, y, Faded(paint, w));
        }
}
