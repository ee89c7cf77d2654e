#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TImage;

// Draws one line of text from the font strip (shellpictures.fontimage) with its first cell's top left at (x, y), or
// centred on x when centred is non-zero. Characters advance by their width class rather than the
// cell width; spacing is added after every character. Uses the colour, alpha, scale and rotation
// in force and changes none of them.
void DrawFontText(const std::string& text, int32_t x, int32_t y, int32_t centred, int32_t spacing);
// The window column where DrawFontText, given the same text, x, centred and spacing at the scale
// in force, draws the character at index (past the end: where one more would go).
int32_t FontCharLeft(const std::string& text, size_t index, int32_t x, int32_t centred, int32_t spacing);

// A line centred on x at the given scale, light over a dark shadow a pixel down and right, so that
// it reads on light and dark backgrounds alike; draws with the caller's alpha and leaves scale 1
// and colour white.
void DrawShadowedLine(const std::string& text, int32_t x, int32_t y, float scale);

// The credit line near the bottom of the title screen, at half scale with a dark shadow; draws
// with the caller's alpha and leaves scale 1 and colour white.
void DrawCredit();
