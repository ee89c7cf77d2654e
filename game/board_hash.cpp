#include "game/board_hash.h"

#include "game/game.h"
#include "game/hash64.h"

namespace {

uint64_t Pair(int32_t low, int32_t high)
{
    return static_cast<uint32_t>(low) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
}

} // namespace

// Two words per block keep it cheap enough to take after every frame of a rerun.
uint64_t BoardHash(const game& g)
{
    THash64 hash;
    hash.AddWord(g.blocks.Count());
    for (const auto& b : g.blocks) {
        hash.AddWord(Pair(b->x, b->y));
        hash.AddWord(Pair(b->r | b->g << 8 | b->b << 16, b->kind));
    }
    return hash.Value();
}
