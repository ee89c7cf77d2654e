#pragma once
#include <cstdint>

#include "bot/player.h"

// How one play by the built-in player went.
struct TPlayRecord {
    int32_t seed = 0;
    int points = 0;
    int64_t frames = 0;  // frames played, the losing one included
    bool lost = false;   // false when the frame limit ended the play first
};

// Plays one game of the real rules on the standard board from the given seed, with the
// player at the controls: the same calls per frame as the play screen, without window, sound
// or pacing, for at most frameLimit frames. Reseeds the global generator; the blast flashes
// that nobody draws are dropped every frame.
TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit);
