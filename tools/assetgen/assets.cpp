#include "tools/assetgen/assets.h"

#include "tools/assetgen/backgrounds.h"
#include "tools/assetgen/hud.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/sound_effects.h"
#include "tools/assetgen/sprites.h"

std::vector<PictureAsset> PictureAssets()
{
    std::vector<PictureAsset> list = {
        {"gfx/shadow.png", MakeShadow, false},
        {"gfx/circle.png", MakeCircle, false},
        {"gfx/loading.png", [] { return MakeCaption("LOADING"); }, false},
        {"gfx/logo.png", MakeLogo, false},
        {"gfx/block1.png", MakeBlock, false},
        {"gfx/paused.png", [] { return MakeCaption("PAUSED"); }, false},
        {"gfx/points.png", MakePoints, false},
        {"gfx/flashboom.png", MakeFlashBoom, false},
        {"gfx/hud.png", MakeHud, false},
        {"gfx/menu1.png", [] { return MakeMenuItem("Play"); }, false},
        {"gfx/menu2.png", [] { return MakeMenuItem("High Scores"); }, false},
        {"gfx/menu3.png", [] { return MakeMenuItem("Options"); }, false},
        {"gfx/options.png", MakeFontStrip, false},
    };
    for (int k = 1; k <= 4; ++k)
        list.push_back({"gfx/powerup" + std::to_string(k) + ".png", [k] { return MakePowerup(k); }, false});
    for (int i = 1; i <= kBackgroundCount; ++i)
        list.push_back({"gfx/back" + std::to_string(i) + ".png", [i] { return MakeBackground(i); }, true});
    return list;
}

std::vector<SoundAsset> SoundAssets()
{
    return {
        {"sfx/plop.ogg", MakePlop},
        {"sfx/explode.ogg", MakeExplode},
        {"sfx/switch.ogg", MakeSwitch},
        {"sfx/falling.ogg", MakeFalling},
        {"sfx/blip.ogg", MakeBlip},
        {"sfx/game (half bit).ogg", MakeGameMusic},
        {"sfx/title (space fighter loop).ogg", MakeTitleMusic},
    };
}
