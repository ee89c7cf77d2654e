#include "tools/assetgen/glyphs.h"

#include <map>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace {

struct GlyphSource {
    char c;
    const char* path;
};

// Pen paths: M x y starts a stroke, L x y draws a line, A cx cy rx ry a0 a1 adds an elliptic
// arc from angle a0 to a1 (degrees, counter-clockwise on screen, 0 to the right), O cx cy rx ry
// is a closed ellipse of its own, D x y a dot, N ends the current stroke.
const GlyphSource kSources[] = {
    {'a', "O5.5 9 3.5 3 M9 6 L9 12"},
    {'b', "M2 3 L2 12 O5.5 9 3.5 3"},
    {'c', "N A5.5 9 3.5 3 45 315"},
    {'d', "M9 3 L9 12 O5.5 9 3.5 3"},
    {'e', "M2 9 L9 9 A5.5 9 3.5 3 0 320"},
    {'f', "N A6.5 5 2.5 2 60 180 L4 12 M1.5 6 L7.5 6"},
    {'g', "O5.5 9 3.5 3 M9 6 L9 13 A6 13 3 2 0 -160"},
    {'h', "M2 3 L2 12 M2 9 A5.5 9 3.5 3 180 0 L9 12"},
    {'i', "M2 6 L4 6 L4 12 M2 12 L6.5 12 D4 3"},
    {'j', "M5 6 L7 6 L7 13 A4.5 13 2.5 2 0 -160 D7 3"},
    {'k', "M2 3 L2 12 M8.5 6 L2.5 10 M4.5 8.5 L9 12"},
    {'l', "M2 3 L4 3 L4 10 A6 10 2 2 180 270 L7 12"},
    {'m', "M1 6 L1 12 M1 8.5 A3 8.5 2 2.5 180 0 L5 12 M5 8.5 A7 8.5 2 2.5 180 0 L9 12"},
    {'n', "M2 6 L2 12 M2 9 A5.5 9 3.5 3 180 0 L9 12"},
    {'o', "O5.5 9 3.5 3"},
    {'p', "M2 6 L2 15 O5.5 9 3.5 3"},
    {'q', "M9 6 L9 15 O5.5 9 3.5 3"},
    {'r', "M2 6 L2 12 M2 9.5 A5.5 9.5 3.5 3.5 180 55"},
    {'s', "N A5.5 7.5 3 1.5 30 270 A5.5 10.5 3 1.5 90 -150"},
    {'t', "M4 3.5 L4 10 A6 10 2 2 180 270 L8 12 M1.5 6 L7.5 6"},
    {'u', "M2 6 L2 9 A5.5 9 3.5 3 180 360 M9 6 L9 12"},
    {'v', "M1.5 6 L5.5 12 L9.5 6"},
    {'w', "M1 6 L3 12 L5.5 7.5 L8 12 L10 6"},
    {'x', "M2 6 L9 12 M9 6 L2 12"},
    {'y', "M2 6 L5.5 11.5 M9 6 L4 15 L2 15"},
    {'z', "M2 6 L8 6 L2 12 L8 12"},
    {'A', "M1 12 L5.5 3 L10 12 M3 9 L8 9"},
    {'B', "M2 12 L2 3 L6.5 3 A6.5 5 2 2 90 -90 L2 7 M6.5 7 A6.5 9.5 2.5 2.5 90 -90 L2 12"},
    {'C', "N A6 7.5 4 4.5 45 315"},
    {'D', "M2 3 L2 12 L5 12 A5 7.5 4 4.5 -90 90 L2 3"},
    {'E', "M9 3 L2 3 L2 12 L9 12 M2 7 L7 7"},
    {'F', "M9 3 L2 3 L2 12 M2 7 L7 7"},
    {'G', "N A6 7.5 4 4.5 45 330 L9.5 8 L6.5 8"},
    {'H', "M2 3 L2 12 M9 3 L9 12 M2 7 L9 7"},
    {'I', "M1 3 L7 3 M4 3 L4 12 M1 12 L7 12"},
    {'J', "M4 3 L9 3 M8 3 L8 9.5 A5 9.5 3 2.5 0 -180"},
    {'K', "M2 3 L2 12 M9 3 L2.5 8.5 M5 6.5 L9.5 12"},
    {'L', "M2 3 L2 12 L9 12"},
    {'M', "M1 12 L1 3 L5.5 9 L10 3 L10 12"},
    {'N', "M2 12 L2 3 L9 12 L9 3"},
    {'O', "O5.5 7.5 4 4.5"},
    {'P', "M2 12 L2 3 L6.5 3 A6.5 5.5 2.5 2.5 90 -90 L2 8"},
    {'Q', "O5.5 7.5 4 4.5 M6.5 9.5 L10 12.5"},
    {'R', "M2 12 L2 3 L6.5 3 A6.5 5.5 2.5 2.5 90 -90 L2 8 M6 8 L9.5 12"},
    {'S', "N A5.5 5.25 3.5 2.25 30 270 A5.5 9.75 3.5 2.25 90 -150"},
    {'T', "M1 3 L7 3 M4 3 L4 12"},
    {'U', "M2 3 L2 9 A5.5 9 3.5 3 180 360 L9 3"},
    {'V', "M1 3 L5.5 12 L10 3"},
    {'W', "M1 3 L3 12 L5.5 6 L8 12 L10 3"},
    {'X', "M2 3 L9 12 M9 3 L2 12"},
    {'Y', "M1 3 L5 7.5 L9 3 M5 7.5 L5 12"},
    {'Z', "M1.5 3 L7.5 3 L1.5 12 L7.5 12"},
    {'0', "O5.5 7.5 3.5 4.5 M7 5.5 L4 9.5"},
    {'1', "M1.5 5 L4 3 L4 12 M1 12 L7 12"},
    {'2', "M2 5.5 A5.5 5.5 3.5 2.5 180 -35 L2 12 L9.5 12"},
    {'3', "M2 4 A5.5 5.25 3.25 2.25 150 -90 A5.5 9.75 3.5 2.25 90 -150"},
    {'4', "M7.5 12 L7.5 3 L1.5 9.5 L9.5 9.5"},
    {'5', "M8.5 3 L3 3 L2.5 7.3 A5.5 9.25 3.5 2.75 125 -150"},
    {'6', "O5.5 9.25 3.5 2.75 N A7 9.25 5 6.25 180 80"},
    {'7', "M2 3 L9 3 L4.5 12"},
    {'8', "O5.5 5.25 3 2.25 O5.5 9.75 3.5 2.25"},
    {'9', "O5.5 5.75 3.5 2.75 N A4 5.75 5 6.25 0 -100"},
    {':', "D4 6 D4 12"},
    {'-', "M2 8 L7 8"},
    {'_', "M1 14 L10 14"},
    {'.', "D4 12"},
    {'?', "M2 5 A5.5 5.25 3.5 2.25 180 -60 L5 9 D5 12"},
    {'!', "M4 3 L4 9 D4 12"},
    {',', "M4.5 11.5 L4.5 12.5 L3.5 14.5"},
    {'\'', "M3 3 L3 6"},
    {'"', "M3 3 L3 6 M6 3 L6 6"},
    {'@', "O5.5 8.5 1.75 2 M7.25 6.5 L7.25 10 A8.5 10 1.25 1.25 180 360 A5.5 8.5 4.5 5.5 0 280"},
};

std::vector<Vec2> ArcPoints(double cx, double cy, double rx, double ry, double a0, double a1)
{
    int steps = std::max(4, int(std::abs(a1 - a0) / 7.5));
    std::vector<Vec2> points;
    for (int i = 0; i <= steps; ++i) {
        double a = (a0 + (a1 - a0) * i / steps) * std::numbers::pi / 180.0;
        points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return points;
}

GlyphOutline Parse(const char* path)
{
    GlyphOutline glyph;
    std::vector<Vec2> stroke;
    auto finish = [&] {
        if (!stroke.empty())
            glyph.strokes.push_back(stroke);
        stroke.clear();
    };
    std::istringstream in(path);
    char op;
    while (in >> op) {
        double v[6] = {};
        int count = op == 'A' ? 6 : op == 'O' ? 4 : op == 'N' ? 0 : 2;
        for (int i = 0; i < count; ++i)
            if (!(in >> v[i]))
                throw std::logic_error(std::string("bad glyph path: ") + path);
        switch (op) {
        case 'M':
            finish();
            stroke.push_back({v[0], v[1]});
            break;
        case 'D':
            // A dot fills a square of pixels rather than a faint disc.
            finish();
            stroke = {{v[0] - 0.25, v[1] - 0.25}, {v[0] + 0.25, v[1] - 0.25}, {v[0] + 0.25, v[1] + 0.25},
                      {v[0] - 0.25, v[1] + 0.25}, {v[0] - 0.25, v[1] - 0.25}};
            finish();
            break;
        case 'L':
            stroke.push_back({v[0], v[1]});
            break;
        case 'A':
            for (Vec2 p : ArcPoints(v[0], v[1], v[2], v[3], v[4], v[5]))
                stroke.push_back(p);
            break;
        case 'O':
            finish();
            stroke = ArcPoints(v[0], v[1], v[2], v[3], 0, 360);
            finish();
            break;
        case 'N':
            finish();
            break;
        default:
            throw std::logic_error(std::string("bad glyph path: ") + path);
        }
    }
    finish();
    for (const auto& s : glyph.strokes)
        for (Vec2 p : s)
            glyph.ink.Add(p);
    return glyph;
}

const std::map<char, GlyphOutline>& Glyphs()
{
    static const std::map<char, GlyphOutline> glyphs = [] {
        std::map<char, GlyphOutline> m;
        for (const GlyphSource& s : kSources)
            m[s.c] = Parse(s.path);
        return m;
    }();
    return glyphs;
}

} // namespace

const GlyphOutline* FindGlyph(char c)
{
    auto it = Glyphs().find(c);
    return it == Glyphs().end() ? nullptr : &it->second;
}

int CellAdvance(char c)
{
    if (c == ' ')
        return 8;
    return std::string("iltz1:.,!-\"ITZ").find(c) != std::string::npos ? 10 : 12;
}

void AddGlyph(StrokeSet& pen, const GlyphOutline& glyph, Vec2 origin, double sx, double sy)
{
    for (const auto& stroke : glyph.strokes) {
        std::vector<Vec2> placed;
        for (Vec2 p : stroke)
            placed.push_back({origin.x + p.x * sx, origin.y + p.y * sy});
        pen.AddPolyline(placed);
    }
}

StrokeSet LayoutText(const std::string& text, Vec2 origin, double sx, double sy, double radius, double gap)
{
    StrokeSet pen(radius);
    double x = origin.x + radius;
    for (char c : text) {
        const GlyphOutline* g = FindGlyph(c);
        if (!g) {
            x += 4 * sx;
            continue;
        }
        AddGlyph(pen, *g, {x - g->ink.x0 * sx, origin.y}, sx, sy);
        x += (g->ink.x1 - g->ink.x0) * sx + 2 * radius + gap;
    }
    return pen;
}

double TextWidth(const std::string& text, double sx, double radius, double gap)
{
    Box b = LayoutText(text, {0, 0}, sx, 1, radius, gap).Bounds();
    return b.x1 - b.x0;
}
