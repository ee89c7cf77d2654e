#pragma once
#include <array>

class game;

// One block of the falling piece: its offset from the pivot and the power-up it carries.
struct TPieceBlock {
    int dx = 0;
    int dy = 0;
    int kind = 0;
};

// The falling piece detached from the board, so placements can be tried without moving the
// real one. Turns follow the rules of play: a quarter turn about the pivot, or for the square
// a cycle of its corners.
class TPieceModel {
public:
    static constexpr int kMaxBlocks = 4;

    // The falling piece of g; a piece of more than kMaxBlocks blocks keeps only the first ones
    // and is reported by Complete().
    static TPieceModel Of(const game& g);

    TPieceModel Turned(bool clockwise) const;

    int Count() const { return count_; }
    const TPieceBlock& Block(int i) const { return blocks_[i]; }
    bool Complete() const { return complete_; }
    bool Square() const { return square_; }

private:
    std::array<TPieceBlock, kMaxBlocks> blocks_{};
    int count_ = 0;
    bool square_ = false;
    bool complete_ = true;
};
