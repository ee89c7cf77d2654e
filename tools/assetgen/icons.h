#pragma once
#include "tools/assetgen/image.h"

#include <string>
#include <vector>

// The game's icon for desktop menus: a dark rounded plate holding a small stack of bevelled
// blocks in the piece colours, a piece falling onto it and a blast power-up in its floor.

// The size of "gfx/icon.png", the picture the game gives its window.
constexpr int WindowIconSize = 64;

// Every size the hicolor icon theme is given, in pixels.
const std::vector<int>& IconSizes();
// The icon painted at size × size pixels (drawn at each size, not scaled from another).
Image MakeIcon(int size);
// Writes folder/hicolor/NxN/apps/brimstrand.png for every size; throws when it cannot.
void WriteIcons(const std::string& folder);
