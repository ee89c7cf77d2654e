#include "tools/assetgen/assets.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "game/assets.h"
#include "tools/assetgen/backgrounds.h"
#include "tools/assetgen/hud.h"
#include "tools/assetgen/icons.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/sound_effects.h"
#include "tools/assetgen/sprites.h"

namespace {

// The painter of the number-th picture of a group (counting from 1), at a density; only the
// groups PaintedDenser names are asked for other densities than 1.
std::function<Image(int)> Painter(TAsset group, int number)
{
    switch (group) {
    case TAsset::Shadow: return MakeShadow;
    case TAsset::Circle: return MakeCircle;
    case TAsset::Loading: return [](int density) { return MakeCaption("LOADING", density); };
    case TAsset::Logo: return MakeLogo;
    case TAsset::Block: return MakeBlock;
    case TAsset::Paused: return [](int density) { return MakeCaption("PAUSED", density); };
    case TAsset::Points: return MakePoints;
    case TAsset::FlashBoom: return MakeFlashBoom;
    case TAsset::Hud: return MakeHud;
    case TAsset::Menu: {
        static const char* const items[] = {"Play", "High Scores", "Options", "Challenges"};
        return [number](int density) { return MakeMenuItem(items[number - 1], density); };
    }
    case TAsset::Font: return MakeFontStrip;
    // The window's icon, at a size window managers scale down from cleanly.
    case TAsset::Icon: return [](int) { return MakeIcon(WindowIconSize); };
    case TAsset::Powerup: return [number](int density) { return MakePowerup(number, density); };
    case TAsset::Back: return [number](int) { return MakeBackground(number); };
    default: throw std::logic_error("no painter for a sound");
    }
}

std::function<SoundClip()> Composer(TAsset group)
{
    switch (group) {
    case TAsset::Plop: return MakePlop;
    case TAsset::Explode: return MakeExplode;
    case TAsset::Switch: return MakeSwitch;
    case TAsset::Falling: return MakeFalling;
    case TAsset::Blip: return MakeBlip;
    case TAsset::GameMusic: return MakeGameMusic;
    case TAsset::TitleMusic: return MakeTitleMusic;
    default: throw std::logic_error("no composer for a picture");
    }
}

// Below the output folder the names use "/".
std::string OutputName(const char* name)
{
    std::string file = name;
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

} // namespace

std::vector<PictureAsset> PictureAssets()
{
    std::vector<PictureAsset> list;
    std::map<TAsset, int> numbers;
    for (const TAssetFile& file : AssetFiles)
        if (!IsSoundFile(file.name))
            list.push_back({OutputName(file.name), Painter(file.group, ++numbers[file.group]),
                            file.group == TAsset::Back, PaintedDenser(file.group)});
    return list;
}

std::vector<SoundAsset> SoundAssets()
{
    std::vector<SoundAsset> list;
    for (const TAssetFile& file : AssetFiles)
        if (IsSoundFile(file.name))
            list.push_back({OutputName(file.name), Composer(file.group)});
    return list;
}
