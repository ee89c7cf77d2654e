#pragma once
#include "tools/assetgen/image.h"

#include <string>
#include <vector>

struct NamedPicture {
    std::string file; // name under gfx/
    const Image* image;
};

// One picture showing every asset on a checkerboard (so transparency shows), labelled with
// the game's own font strip, beside two mock screens that put the pieces together as the game
// draws them: the title menu and a play in progress.
Image MakeContactSheet(const std::vector<NamedPicture>& pictures);
