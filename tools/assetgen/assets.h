#pragma once
#include "tools/assetgen/image.h"
#include "tools/assetgen/sound.h"

#include <functional>
#include <string>
#include <vector>

// Every file of the asset manifest (game/assets.inc), in its order, with the function that makes
// it. Names are relative to the game's folder ("gfx/..." and "sfx/...").
struct PictureAsset {
    std::string file;
    std::function<Image(int density)> make; // density 1 for the file itself
    bool opaque; // written without an alpha channel
    bool denser; // also painted at DenserVersions (game/assets.h)
};

struct SoundAsset {
    std::string file;
    std::function<SoundClip()> make;
};

std::vector<PictureAsset> PictureAssets();
std::vector<SoundAsset> SoundAssets();
