#pragma once
#include <array>
#include <memory>

#include "game/assets.h"
#include "game/block.h"

class TImage;

// Pictures the board and its effects draw; loaded once at start-up by the shell and kept for the
// whole run. A picture that failed to load stays none and draws nothing.
struct TBoardPictures {
    std::shared_ptr<TImage> blockimage;                   // "gfx\block1.png", handle top left
    std::array<std::shared_ptr<TImage>, PowerUpKinds> powerupimages; // "gfx\powerup1.png".."gfx\powerup4.png", by kind - 1
    std::shared_ptr<TImage> shadowimage;                  // "gfx\shadow.png", handle top left
    std::shared_ptr<TImage> pointsimage;                  // "gfx\points.png", 17 frames of 10 by 8
    std::shared_ptr<TImage> flashboomimage;               // "gfx\flashboom.png", handle centred
    std::shared_ptr<TImage> circleimage;                  // "gfx\circle.png", handle top left
};

static_assert(AssetCount(TAsset::Powerup) == PowerUpKinds, "one power-up picture per kind");

extern TBoardPictures pictures;
