#pragma once

#include "bot/occupancy.h"

// How a board looks to the built-in player; every measure grows as the board gets worse.
struct TBoardFeatures {
    int holes = 0;              // free cells with a settled block somewhere above them
    int rowTransitions = 0;     // changes between free and filled along each row, walls filled
    int columnTransitions = 0;  // the same down each column, the floor filled
    int wells = 0;              // well cells, each counted by its depth from the well's top
    int maxHeight = 0;          // rows the tallest column stands above the floor
    int spawnHeight = 0;        // rows the tallest column under the spawn point stands
};

TBoardFeatures MeasureBoard(const TOccupancy& board);

// One placement of a piece: the board it leaves and how it got there.
struct TPlacementResult {
    TOccupancy board;
    double landingHeight = 0; // rows above the floor of the piece's middle as it landed
    int rows = 0;             // rows cleared, nested clears included
    int removed = 0;          // blocks destroyed by blasts
    int stackBefore = 0;      // rows the tallest column stood before the landing
    bool lost = false;
};

// The weights of the measures: positive ones reward, negative ones penalise.
struct TScoreWeights {
    double landingHeight = -4.5;
    double rows = 3.4;
    double rowTransitions = -3.2;
    double columnTransitions = -9.3;
    double holes = -7.9;
    double wells = -3.4;
    // Every block a blast destroys is a twentieth of a row that will never score; worth it only
    // once the stack stands higher than the safe share.
    double blastWaste = -0.5;
    // Past this share of the board's height every further row of stack costs dangerGrowth
    // more than the last, so a high stack makes clearing space (a blast, for one) worth more
    // than a tidy surface.
    double safeShare = 0.5;
    double dangerGrowth = -2.0;
    // Rows kept free above the spawn columns, so a new piece has room to turn and move.
    int spawnClearance = 6;
    double spawnDanger = -400.0;
};

// Higher is better; a lost play scores below every other placement.
double ScorePlacement(const TPlacementResult& result, const TScoreWeights& weights);
