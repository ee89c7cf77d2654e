#pragma once

// The full-window flash as drawn for players who asked for fewer flashes: never brighter than a
// faint tint, and a new flash at most three times a second. The flash's own level (effects.flash)
// runs as ever; only what is drawn of it changes.

constexpr float ReducedFlashOpacity = 0.25f;
constexpr int FlashOnsetFrames = 20; // a third of a second at 60 frames a second

class TFlashLimiter {
public:
    // The opacity to draw for this frame's flash level; called once every frame, flash or not,
    // so that it sees each flash begin.
    float Opacity(float flash);
    void Reset() { *this = TFlashLimiter{}; }

private:
    float previous_ = 0;               // the level the last frame saw
    float shown_ = 0;                  // the opacity drawn last frame
    int sinceOnset_ = FlashOnsetFrames; // frames since a flash last began to show
};

// The opacity of this frame's full-window flash under the player's Flashes setting: the level
// itself at Full, the limiter's at Reduced. Called once a frame.
float FlashOpacity(float flash);
