#pragma once
#include <string>
#include <string_view>

// The asset manifest: names and counts of the pictures and sounds, from game/assets.inc. It has
// no dependencies, so the asset generator reads it too.

// The groups of files; a group may hold several numbered files.
enum class TAsset {
    Shadow, Circle, Loading, Logo, Block, Paused, Points, FlashBoom, Hud, Menu, Font, Icon, Powerup, Back,
    Plop, Explode, Switch, Falling, Blip, GameMusic, TitleMusic,
};

struct TAssetFile {
    TAsset group;
    const char* name; // as the game opens it: "gfx\..." or "sfx\..."
};

inline constexpr TAssetFile AssetFiles[] = {
#define BRIM_ASSET(group, file) {TAsset::group, file},
#include "game/assets.inc"
#undef BRIM_ASSET
};

// The number of files in group.
constexpr int AssetCount(TAsset group)
{
    int count = 0;
    for (const TAssetFile& file : AssetFiles)
        count += file.group == group ? 1 : 0;
    return count;
}

// The name of the index-th file of group, counting from 0; empty past the end.
constexpr const char* AssetName(TAsset group, int index = 0)
{
    for (const TAssetFile& file : AssetFiles)
        if (file.group == group && index-- == 0)
            return file.name;
    return "";
}

// The pictures drawn magnified whose painters paint at any density: each is painted also at these
// densities (pixels per pixel of the 512 by 512 drawing), beside its file as "name@2x.png". Not the
// backgrounds, 1024 pixels square and turning behind everything, nor the window's icon, which the
// window never draws.
inline constexpr int DenserVersions[] = {2, 3};
constexpr bool PaintedDenser(TAsset group)
{
    switch (group) {
    case TAsset::Shadow:
    case TAsset::Circle:
    case TAsset::Loading:
    case TAsset::Logo:
    case TAsset::Block:
    case TAsset::Paused:
    case TAsset::Points:
    case TAsset::FlashBoom:
    case TAsset::Hud:
    case TAsset::Menu:
    case TAsset::Font:
    case TAsset::Powerup: return true;
    default: return false;
    }
}
inline std::string DenserName(std::string_view name, int density)
{
    const size_t dot = name.rfind('.');
    return std::string(name.substr(0, dot)) + "@" + std::to_string(density) + "x" + std::string(name.substr(dot));
}

// Sounds are the ".ogg" files, pictures all others.
constexpr bool IsSoundFile(std::string_view name) { return name.ends_with(".ogg"); }

