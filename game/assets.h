#pragma once
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

// Sounds are the ".ogg" files, pictures all others.
constexpr bool IsSoundFile(std::string_view name) { return name.ends_with(".ogg"); }

