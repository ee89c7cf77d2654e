#pragma once
#include "tools/assetgen/image.h"

// The small pictures of the board and its effects.

// "block1.png": a light, bevelled 16 by 16 cell, drawn tinted by each block's colour.
Image MakeBlock();
// "powerup1.png" to "powerup4.png" (kind 1 to 4): slow-down, blast, collapse, flip.
Image MakePowerup(int kind);
// "shadow.png": black, alpha falling from full under the block to nothing two cells down.
Image MakeShadow();
// "circle.png": a soft round particle.
Image MakeCircle();
// "flashboom.png": a white star burst with soft alpha, drawn tinted yellow and turned.
Image MakeFlashBoom();
