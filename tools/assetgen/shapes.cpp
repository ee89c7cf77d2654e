#include "tools/assetgen/shapes.h"

#include <numbers>

Vec2 Rotated(Vec2 v, double degrees)
{
    double a = degrees * std::numbers::pi / 180.0;
    double c = std::cos(a), s = std::sin(a);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

void Box::Add(Vec2 p)
{
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
}

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b)
{
    Vec2 ab = b - a, ap = p - a;
    double len2 = Dot(ab, ab);
    double t = len2 > 0 ? std::clamp(Dot(ap, ab) / len2, 0.0, 1.0) : 0.0;
    return Length(ap - ab * t);
}

double CircleDistance(Vec2 p, Vec2 centre, double radius) { return Length(p - centre) - radius; }

double RoundBoxDistance(Vec2 p, Vec2 centre, Vec2 half, double round)
{
    double qx = std::abs(p.x - centre.x) - half.x + round;
    double qy = std::abs(p.y - centre.y) - half.y + round;
    double outside = Length({std::max(qx, 0.0), std::max(qy, 0.0)});
    return outside + std::min(std::max(qx, qy), 0.0) - round;
}

void StrokeSet::AddPolyline(const std::vector<Vec2>& points)
{
    // A single point is a dot: a segment of length zero.
    for (size_t i = 0; i < points.size(); ++i) {
        if (i + 1 == points.size() && i > 0)
            break;
        Vec2 a = points[i], b = points[std::min(i + 1, points.size() - 1)];
        Segment s{a, b, {}};
        s.box.Add(a);
        s.box.Add(b);
        bounds_.Add(a);
        bounds_.Add(b);
        segments_.push_back(s);
    }
}

void StrokeSet::Add(const StrokeSet& other)
{
    for (const Segment& s : other.segments_) {
        segments_.push_back(s);
        bounds_.Add(s.a);
        bounds_.Add(s.b);
    }
}

double StrokeSet::Distance(Vec2 p) const
{
    double best = 1e30;
    for (const Segment& s : segments_) {
        // A segment whose box is farther away than the best so far cannot be nearer.
        double dx = std::max({s.box.x0 - p.x, 0.0, p.x - s.box.x1});
        double dy = std::max({s.box.y0 - p.y, 0.0, p.y - s.box.y1});
        if (dx >= best || dy >= best)
            continue;
        best = std::min(best, SegmentDistance(p, s.a, s.b));
    }
    return best - radius_;
}

void Polygon::AddContour(const std::vector<Vec2>& points)
{
    for (Vec2 p : points)
        bounds_.Add(p);
    contours_.push_back(points);
}

double Polygon::Distance(Vec2 p) const
{
    double best = 1e30;
    int winding = 0;
    for (const std::vector<Vec2>& c : contours_)
        for (size_t i = 0; i < c.size(); ++i) {
            Vec2 a = c[i], b = c[(i + 1) % c.size()];
            best = std::min(best, SegmentDistance(p, a, b));
            if (a.y <= p.y && b.y > p.y && (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y) > 0)
                ++winding;
            else if (a.y > p.y && b.y <= p.y && (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y) < 0)
                --winding;
        }
    return winding != 0 ? -best : best;
}

std::vector<Vec2> StarPoints(Vec2 centre, int points, double outer, double inner, double turn_degrees)
{
    std::vector<Vec2> out;
    for (int i = 0; i < points * 2; ++i) {
        double r = i % 2 == 0 ? outer : inner;
        out.push_back(centre + Rotated({0, -r}, turn_degrees + i * 180.0 / points));
    }
    return out;
}
