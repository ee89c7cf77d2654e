#pragma once
#include <cstdint>

// Presses of S taken by the sampling so that they never pile up; nothing reads it.
extern int32_t keyfasthits;

// Samples the play keys into the control flags once per frame, before the falling piece moves.
class key {
public:
    // Q, E, A and D as presses since the previous call, then S as presses and as held, in that
    // order; every press is seen in exactly one frame.
    static void Update();
};
