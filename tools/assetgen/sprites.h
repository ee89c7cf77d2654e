#pragma once
#include "tools/assetgen/image.h"
#include "tools/assetgen/shapes.h"

#include <cstdint>

// The small pictures of the board and its effects.

// "block1.png": a light, bevelled 16 by 16 cell, drawn tinted by each block's colour.
Image MakeBlock(int density = 1);
// "powerup1.png" to "powerup4.png" (kind 1 to 4): slow-down, blast, collapse, flip.
Image MakePowerup(int kind, int density = 1);
// "shadow.png": black, alpha falling from full under the block to nothing two cells down.
Image MakeShadow(int density = 1);
// "circle.png": a soft round particle.
Image MakeCircle(int density = 1);
// "flashboom.png": a white star burst with soft alpha, drawn tinted yellow and turned.
Image MakeFlashBoom(int density = 1);

// The bevelled cell that blocks and power-ups share, size pixels square with its top left at
// corner: a rounded square whose rim catches the light on the top and left and falls into
// shade on the bottom and right.
void PaintBevelCell(Image& image, Vec2 corner, double size, Colour face_top, Colour face_bottom, uint32_t grain_seed);
// A power-up cell of kind 1 to 4 (slow-down, blast, collapse, flip): bevelled face and glyph.
void PaintPowerupCell(Image& image, Vec2 corner, double size, int kind);
