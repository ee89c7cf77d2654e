#pragma once
#include <cstdint>

#include "game/controls.h"

// Samples the play controls once per frame, before the falling piece moves: the keys of
// the controls settings (the game's own and the arrows unless controls.cfg says otherwise), the
// gamepads and the automatic repeat of held moves all end up here, in the one TControls.
class key {
public:
    // Turns, moves, then drop fast, as presses since the previous call (and drop fast as held);
    // every press is seen in exactly one frame. A held move repeats when the settings ask for it.
    static TControls Update();
    // Presses of the drop-fast keys the last Update took so that they never pile up; play never
    // reads them.
    static int32_t FastHits();
    // Forgets how long the moves have been held: a new play starts with no repeat under way.
    static void Reset();
    // Escape held, Start pressed on a gamepad, or the window lost the focus.
    static bool PauseRequested();
};
