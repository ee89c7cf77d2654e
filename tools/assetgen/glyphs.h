#pragma once
#include "tools/assetgen/shapes.h"

#include <string>
#include <vector>

// The game's own letter forms: pen centre lines in font units, where one unit is one pixel of
// the 12 by 16 font cell. Capitals run from y 3 to the baseline at y 12, the x-height is at
// y 6 and descenders reach y 15; a pen of radius 1 then fills whole pixels at that size.
struct GlyphOutline {
    std::vector<std::vector<Vec2>> strokes;
    Box ink; // bounds of the centre lines
};

// Outline of a character, or nullptr for a space and characters without a glyph.
const GlyphOutline* FindGlyph(char c);

// Advance of the font strip's width classes at scale 1: 12 normal, 10 narrow, 8 for a space.
int CellAdvance(char c);

// Places the glyph's centre lines: font point (x, y) goes to origin + (x * sx, y * sy).
void AddGlyph(StrokeSet& pen, const GlyphOutline& glyph, Vec2 origin, double sx, double sy);

// Sets a line of text with proportional spacing for display lettering: each glyph's ink starts
// `gap` pixels of centre line after the previous one ends. Returns the pen for the whole line,
// with its left ink edge at origin.x.
StrokeSet LayoutText(const std::string& text, Vec2 origin, double sx, double sy, double radius, double gap);
// Width in pixels of the ink of LayoutText with the same arguments.
double TextWidth(const std::string& text, double sx, double radius, double gap);
