#pragma once
#include <cstdint>
#include <vector>

#include "bot/piece_model.h"

class game;

// Which board cells hold a settled block, one bit per column in a word per row. Rows above
// the board count as free, as they do for the falling piece.
class TOccupancy {
public:
    static constexpr int kMaxWidth = 64;

    TOccupancy(int w, int h);
    // The settled blocks of g on the board.
    static TOccupancy Of(const game& g);

    int Width() const { return w_; }
    int Height() const { return static_cast<int>(rows_.size()); }
    uint64_t Row(int y) const { return rows_[y]; }
    uint64_t FullRow() const { return full_; }

    bool Filled(int x, int y) const { return y >= 0 && ((rows_[y] >> x) & 1u) != 0; }
    void Fill(int x, int y);
    // True when the cell is inside the walls, above the floor and not settled.
    bool Free(int x, int y) const;
    // True when every block of the piece with its pivot at (px, py) is on a free cell.
    bool Fits(const TPieceModel& piece, int px, int py) const;

private:
    int w_;
    uint64_t full_;
    std::vector<uint64_t> rows_;
};
