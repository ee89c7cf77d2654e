#include "bot/player.h"

#include <algorithm>
#include <cstdint>

#include "bot/occupancy.h"
#include "bot/piece_model.h"
#include "bot/placement_search.h"
#include "game/game.h"

namespace {

// Farthest a block of any piece, in any orientation, reaches from its pivot.
constexpr int kPieceReach = 2;
// Rows to spare before a fall during the turns and moves could bring the piece down on the stack.
constexpr int kFallMargin = 2;

// Rows the piece with its pivot in row py may fall before any block in the columns it sweeps
// on its way from one pivot column to the other could stop it.
int RoomToFall(const TOccupancy& board, int fromColumn, int toColumn, int py)
{
    uint64_t swept = 0;
    for (int x = std::min(fromColumn, toColumn) - kPieceReach; x <= std::max(fromColumn, toColumn) + kPieceReach; ++x)
        if (x >= 0 && x < board.Width())
            swept |= uint64_t{1} << x;
    int y = std::max(0, py + kPieceReach + 1);
    while (y < board.Height() && (board.Row(y) & swept) == 0)
        ++y;
    return y - (py + kPieceReach + 1);
}

} // namespace

TControls TPlayer::Decide(const game& g) const
{
    TControls controls;
    if (g.lost || g.place.IsEmpty() || g.w <= 0 || g.w > TOccupancy::kMaxWidth || g.h <= 0)
        return controls;
    const TPieceModel piece = TPieceModel::Of(g);
    if (!piece.Complete())
        return controls;

    // The gravity step of this frame comes before the controls are read. When it lands the
    // piece, the controls would act on the next piece, which nobody has seen yet.
    TPlacementSearch search(g, weights_, memo_);
    int py = g.py;
    if (g.nextdown - 1 < 1) {
        if (!search.Board().Fits(piece, g.px, g.py + 1))
            return controls;
        ++py;
    }

    const TPlacement target = search.Best(piece, g.px, py);
    // Fast drop once above the place, or on the way while the fall cannot interfere; where the
    // play has hard drop, the piece lands at once when it is above its place.
    controls.keyfast = target.steps == 0 || RoomToFall(search.Board(), g.px, target.px, py) > target.steps + kFallMargin;
    if (target.steps == 0) {
        controls.keyharddrop = g.options.hardDrop ? 1 : 0;
        return controls;
    }
    switch (target.first) {
    case TStep::TurnLeft:
        controls.keyrotleft = 1;
        break;
    case TStep::TurnRight:
        controls.keyrotright = 1;
        break;
    case TStep::Left:
        controls.keyleft = 1;
        break;
    case TStep::Right:
        controls.keyright = 1;
        break;
    }
    return controls;
}
