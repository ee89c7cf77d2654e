#pragma once
#include <cstdint>

#include "game/controls.h"

// Samples the play keys into the controls once per frame, before the falling piece moves.
class key {
public:
    // Q, E, A and D as presses since the previous call, then S as presses and as held, in that
    // order; every press is seen in exactly one frame.
    static TControls Update();
    // Presses of S the last Update took so that they never pile up; play never reads them.
    static int32_t FastHits();
};
