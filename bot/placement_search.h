#pragma once
#include <vector>

#include "bot/board_score.h"
#include "bot/board_memo.h"
#include "bot/occupancy.h"
#include "bot/piece_model.h"

class game;

// One step of the way to a placement, taken in one frame.
enum class TStep { TurnLeft, TurnRight, Left, Right };

// Where the falling piece comes to rest, and the way there.
struct TPlacement {
    TPieceModel piece; // turned as it lands
    int px = 0;        // pivot where it lands
    int py = 0;
    double score = 0;
    int steps = 0;     // turns and moves still to make before dropping
    TStep first = TStep::Left; // the next of them, when there is one
};

// Tries every placement the falling piece reaches from where it is: turning in place, moving
// sideways, and dropping straight down, in either order of turns and moves. Each placement that
// fills a row is played out by the rules on a copy of the board, power-ups and all, and scored.
// What it works out about the board is kept in memo, which must only ever see the same weights.
class TPlacementSearch {
public:
    TPlacementSearch(const game& g, const TScoreWeights& weights, TBoardMemo& memo);

    // The best placement of the piece with its pivot at (px, py), which must fit there.
    // Equal scores go to the placement whose cells come first in reading order, then to the
    // shorter way, so the choice never depends on the order the placements were tried in.
    TPlacement Best(const TPieceModel& piece, int px, int py) const;

    const TOccupancy& Board() const { return memo_.Board(); }

    // The outcome of the piece landing with its pivot at (px, py).
    TPlacementResult Land(const TPieceModel& piece, int px, int py) const;

private:
    struct TWay {
        int steps = -1; // -1 while the placement has not been reached
        TStep first = TStep::Left;
    };

    bool Turn(TPieceModel& piece, TStep turn, int px, int py) const;
    void Reach(const TPieceModel& piece, int px, int py, const TStep* turns, int turnCount, int orientation,
               std::vector<TWay>& ways) const;

    const TScoreWeights& weights_;
    TBoardMemo& memo_;
    const game& game_;  // its settled blocks are copied for every placement that fills a row
};
