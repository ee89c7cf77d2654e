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

// The painter of the number-th picture of a group (counting from 1).
std::function<Image()> Painter(TAsset group, int number)
{
    switch (group) {
    case TAsset::Shadow: return MakeShadow;
    case TAsset::Circle: return MakeCircle;
    case TAsset::Loading: return [] { return MakeCaption("LOADING"); };
    case TAsset::Logo: return MakeLogo;
    case TAsset::Block: return MakeBlock;
    case TAsset::Paused: return [] { return MakeCaption("PAUSED"); };
    case TAsset::Points: return MakePoints;
    case TAsset::FlashBoom: return MakeFlashBoom;
    case TAsset::Hud: return MakeHud;
    case TAsset::Menu: {
        static const char* const items[] = {"Play", "High Scores", "Options", "Challenges"};
        return [number] { return MakeMenuItem(items[number - 1]); };
    }
    case TAsset::Font: return MakeFontStrip;
    // The window's icon, at a size window managers scale down from cleanly.
    case TAsset::Icon: return [] { return MakeIcon(WindowIconSize); };
    case TAsset::Powerup: return [number] { return MakePowerup(number); };
    case TAsset::Back: return [number] { return MakeBackground(number); };
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
            list.push_back({OutputName(file.name), Painter(file.group, ++numbers[file.group]), file.group == TAsset::Back});
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
