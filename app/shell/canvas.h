#pragma once
#include <cstdint>

#include "draw2d/graphics.h"

// The game draws on a canvas of 512 by 512 window pixels, whatever the window's real size.
constexpr int32_t WindowWidth = 512;
constexpr int32_t WindowHeight = 512;

// The centre of the drawing area, where the full-window pictures are placed.
inline int32_t HalfWidth() { return GraphicsWidth() / 2; }
inline int32_t HalfHeight() { return GraphicsHeight() / 2; }
