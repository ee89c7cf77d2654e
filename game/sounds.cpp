#include "game/sounds.h"

#include <utility>

namespace {

TSoundPlayer g_player;

} // namespace

void SetSoundPlayer(TSoundPlayer player)
{
    g_player = std::move(player);
}

void PlaySoundEffect(const std::string& name)
{
    if (g_player)
        g_player(name);
}
