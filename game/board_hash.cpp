#include "game/board_hash.h"

#include "game/game.h"
#include "game/hash64.h"

uint64_t BoardHash(const game& g)
{
    THash64 hash;
    hash.AddInt(static_cast<int32_t>(g.blocks.Count()));
    for (const auto& b : g.blocks) {
        hash.AddInt(b->x);
        hash.AddInt(b->y);
        const uint8_t colour[3] = {b->r, b->g, b->b};
        hash.AddBytes(colour, sizeof colour);
        hash.AddInt(b->kind);
    }
    return hash.Value();
}
