#pragma once

#include "bot/occupancy.h"
#include "bot/piece_model.h"

class game;

// What the rules' row scan made of a landing.
struct TRehearsal {
    TOccupancy board;
    int rows = 0;      // rows cleared, nested scans included
    int removed = 0;   // blocks destroyed by blasts
    bool lost = false;
};

// Settles the piece with its pivot at (px, py) on a copy of the settled blocks of g and runs
// the rules' own row scan over it, power-ups and all. The play stays as it was: the copy's
// sounds are silenced, and the effect levels and blast flashes it changed are put back. The
// scan draws no random numbers, so the same board always rehearses the same way.
TRehearsal RehearseLanding(const game& g, const TPieceModel& piece, int px, int py);
