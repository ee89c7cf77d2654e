#pragma once
#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "bot/occupancy.h"
#include "bot/piece_model.h"

class game;

// What the built-in player works out about one board of settled blocks: its cells, how high
// its stack stands, where each column's blocks are, and the scores of the landings tried on it.
// All of it follows from the settled blocks alone (their cells, kinds and list order, which the
// rehearsed row scan walks), so while the board stands, each frame of a falling piece finds what
// the frames before it worked out, exactly as it would work it out again. A board that differs
// in anything is worked out afresh; one board is kept.
class TBoardMemo {
public:
    // Starts afresh unless g's settled blocks are the board already worked out.
    void Use(const game& g);

    const TOccupancy& Board() const { return board_; }
    int StackHeight() const { return stackHeight_; } // rows the tallest column stands
    bool LostAlready() const { return lostAlready_; } // a settled block stands above row 1

    // The row the pivot comes to rest in when the piece drops straight down from (px, py),
    // as far as every block of it fits: py itself when it cannot go lower.
    int Drop(const TPieceModel& piece, int px, int py) const;

    // The score of the piece landing with its pivot at (px, py): the one kept, or score()'s.
    // The scores must all come from the same weights.
    template <class TScore>
    double Score(const TPieceModel& piece, int px, int py, TScore score)
    {
        const TLanding landing = Landing(piece, px, py);
        const auto kept = scores_.find(landing);
        if (kept != scores_.end())
            return kept->second;
        const double made = score();
        scores_.emplace(landing, made);
        return made;
    }

private:
    struct TCell {
        int x = 0;
        int y = 0;
        int kind = 0;
        bool operator==(const TCell&) const = default;
    };
    // The landed blocks in the piece's order, the order they settle in.
    struct TLanding {
        std::array<TCell, TPieceModel::kMaxBlocks> cells{};
        int count = 0;
        bool operator==(const TLanding&) const = default;
    };
    struct TLandingHash {
        size_t operator()(const TLanding& landing) const;
    };

    static TLanding Landing(const TPieceModel& piece, int px, int py);
    bool Same(const game& g) const;
    // The first filled row at or below row y of column x, the floor's row h when there is none.
    int Stop(int x, int y) const { return stops_[static_cast<size_t>(x) * (board_.Height() + 1) + y]; }

    std::vector<TCell> blocks_;
    TOccupancy board_{0, 0};
    int stackHeight_ = 0;
    bool lostAlready_ = false;
    std::vector<int> stops_; // Stop() of every column and row, the floor's row included
    std::unordered_map<TLanding, double, TLandingHash> scores_;
};
