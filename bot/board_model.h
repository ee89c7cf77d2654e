#pragma once
#include <vector>

#include "bot/occupancy.h"

class game;

// What a row scan of the model set off.
struct TScanTally {
    int rows = 0;       // rows cleared, nested scans included; 25 points each
    int blasts = 0;     // blasts fired
    int collapses = 0;  // column collapses
    int flips = 0;      // stack flips
    int removed = 0;    // blocks destroyed by blasts
};

// A copy of the settled blocks on which the row scan, blasts, collapses and flips run as the
// rules run them, in the order the blocks settled, but without the sounds, flashes and
// effect levels of a real play, without touching the game and without drawing random numbers.
class TBoardModel {
public:
    TBoardModel(int w, int h);
    // The settled blocks of g, in the order they settled.
    static TBoardModel Of(const game& g);

    int Width() const { return w_; }
    int Height() const { return h_; }

    // Settles a block at the end of the list, as a landing does.
    void Settle(int x, int y, int kind);
    // The row scan, with every power-up of the cleared rows applied.
    void Scan();

    const TScanTally& Tally() const { return tally_; }
    // True when a settled block stands above row 1, which loses the play.
    bool Lost() const;
    // The cells the blocks occupy now.
    TOccupancy Cells() const;

private:
    struct TModelBlock {
        int x;
        int y;
        int kind;
        bool live;
    };
    struct TBang {
        int x;
        int y;
        bool live;
    };

    void ClearRow(int row, bool& collapse, int& flips);
    void Explode(int ex, int ey);
    void Fall();
    void Reverse();

    int w_;
    int h_;
    std::vector<TModelBlock> blocks_; // in settling order; removed blocks stay, not live
    std::vector<TBang> bangs_;        // queued blasts; a blast stays queued until it is over
    TScanTally tally_;
};
