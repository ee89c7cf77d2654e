#include "bot/board_memo.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "bot/board_score.h"
#include "game/game.h"
#include "game/hash64.h"

bool TBoardMemo::Same(const game& g) const
{
    if (g.w != board_.Width() || g.h != board_.Height() || g.blocks.Count() != blocks_.size())
        return false;
    size_t i = 0;
    for (const auto& b : g.blocks)
        if (!(blocks_[i++] == TCell{b->x, b->y, b->kind}))
            return false;
    return true;
}

void TBoardMemo::Use(const game& g)
{
    if (Same(g))
        return;
    blocks_.clear();
    lostAlready_ = false;
    for (const auto& b : g.blocks) {
        blocks_.push_back({b->x, b->y, b->kind});
        lostAlready_ = lostAlready_ || b->y < 1;
    }
    board_ = TOccupancy::Of(g);
    stackHeight_ = MeasureBoard(board_).maxHeight;
    const int w = board_.Width(), h = board_.Height();
    stops_.assign(static_cast<size_t>(w) * (h + 1), h);
    for (int x = 0; x < w; ++x)
        for (int y = h - 1; y >= 0; --y)
            stops_[static_cast<size_t>(x) * (h + 1) + y] = board_.Filled(x, y) ? y : Stop(x, y + 1);
    scores_.clear();
}

// Each block falls to just above the first filled row below its cell, or the floor, whatever
// its cell holds; the piece falls as far as its shortest fall. Outside the walls nothing fits.
int TBoardMemo::Drop(const TPieceModel& piece, int px, int py) const
{
    const int w = board_.Width(), h = board_.Height();
    if (piece.Count() == 0)
        return py;
    int fall = INT_MAX;
    for (int i = 0; i < piece.Count(); ++i) {
        const int x = px + piece.Block(i).dx, y = py + piece.Block(i).dy;
        if (x < 0 || x >= w)
            return py;
        fall = std::min(fall, Stop(x, std::clamp(y + 1, 0, h)) - 1 - y);
    }
    return py + std::max(0, fall);
}

TBoardMemo::TLanding TBoardMemo::Landing(const TPieceModel& piece, int px, int py)
{
    TLanding landing;
    landing.count = piece.Count();
    for (int i = 0; i < piece.Count(); ++i) {
        const TPieceBlock& b = piece.Block(i);
        landing.cells[i] = {px + b.dx, py + b.dy, b.kind};
    }
    return landing;
}

size_t TBoardMemo::TLandingHash::operator()(const TLanding& landing) const
{
    THash64 hash;
    for (int i = 0; i < landing.count; ++i) {
        const TCell& c = landing.cells[i];
        hash.AddWord(static_cast<uint64_t>(static_cast<uint32_t>(c.x)) << 32 | static_cast<uint32_t>(c.y));
        hash.AddWord(static_cast<uint32_t>(c.kind));
    }
    return static_cast<size_t>(hash.Value());
}
