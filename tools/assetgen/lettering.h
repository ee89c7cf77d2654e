#pragma once
#include "tools/assetgen/image.h"

#include <string>

// The characters of the font strip, one per 12 by 16 cell, in the order the game reads them;
// the last six cells stay empty.
extern const char kFontStripOrder[];
constexpr int kFontStripCells = 78;
constexpr int kFontGlyphs = 72;

// "options.png": every glyph white on transparent, left-aligned in its cell, one row of cells.
Image MakeFontStrip(int density = 1);
// "points.png": 17 frames of 10 by 8 (digits, then the glyphs of "POINTS:"), 10 across.
Image MakePoints(int density = 1);
// "logo.png": the title lettering.
Image MakeLogo(int density = 1);
// "menu1.png" to "menu4.png": an item drawn squeezed to 0.6 of its width, so set wide here.
Image MakeMenuItem(const std::string& text, int density = 1);
// "paused.png", "loading.png": a light caption drawn in a grey tint.
Image MakeCaption(const std::string& text, int density = 1);
