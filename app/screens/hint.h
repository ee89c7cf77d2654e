#pragma once
#include <cstdint>
#include <string>

// A line that tells the keys of a screen: small, centred across the window, light over a dark
// shadow so that it reads on the light and the dark backgrounds alike. With marked, the focus
// marker stands before it (its first words name what Return does).
void DrawHint(const std::string& text, int32_t y, bool marked);
