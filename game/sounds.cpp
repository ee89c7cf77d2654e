#include "game/sounds.h"

#include <utility>

namespace {

TSoundPlayer g_player;

} // namespace

TSoundPlayer SetSoundPlayer(TSoundPlayer player)
{
    std::swap(g_player, player);
    return player;
}

void PlaySoundEffect(const std::string& name)
{
    if (g_player)
        g_player(name);
}
