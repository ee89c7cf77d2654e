#include "bot/occupancy.h"

#include "game/game.h"

TOccupancy::TOccupancy(int w, int h)
    : w_(w), full_(w >= kMaxWidth ? ~uint64_t{0} : (uint64_t{1} << w) - 1), rows_(h > 0 ? h : 0)
{
}

TOccupancy TOccupancy::Of(const game& g)
{
    TOccupancy board(g.w, g.h);
    for (const auto& b : g.blocks)
        board.Fill(b->x, b->y);
    return board;
}

void TOccupancy::Fill(int x, int y)
{
    if (x >= 0 && x < w_ && y >= 0 && y < Height())
        rows_[y] |= uint64_t{1} << x;
}

bool TOccupancy::Free(int x, int y) const
{
    return x >= 0 && x < w_ && y < Height() && !Filled(x, y);
}

bool TOccupancy::Fits(const TPieceModel& piece, int px, int py) const
{
    for (int i = 0; i < piece.Count(); ++i)
        if (!Free(px + piece.Block(i).dx, py + piece.Block(i).dy))
            return false;
    return true;
}
