#pragma once

#include "bot/board_score.h"
#include "bot/board_memo.h"
#include "game/controls.h"

class game;

// The built-in player. Each frame it looks at the play as a person sees it, chooses where the
// falling piece should land, and presses what a person would press to get it there: one turn
// or one move per frame, and the fast drop (or the hard drop, where the play has it) once the
// piece is above its place. It leaves the hold alone and looks no further than the falling piece.
// It reads the game and never changes it and draws no random numbers. Between frames it keeps
// only what it worked out about the board it saw last, which that board always gives again, so
// the same game state always gets the same controls.
class TPlayer {
public:
    TPlayer() = default;
    explicit TPlayer(const TScoreWeights& weights) : weights_(weights) {}

    TControls Decide(const game& g) const;

private:
    TScoreWeights weights_;
    mutable TBoardMemo memo_; // spares each frame of a piece what its earlier frames worked out
};
