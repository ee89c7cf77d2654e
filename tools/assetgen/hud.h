#pragma once
#include "tools/assetgen/image.h"

// "hud.png": the 512 by 512 frame drawn over the turning background and under the board.
// It darkens the board's well (columns 96 to 415), rails it on both sides and gives the
// score at the top left a plate of its own; elsewhere the background shows through.
Image MakeHud(int density = 1);
