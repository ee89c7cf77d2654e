#pragma once
#include <cstdint>

#include "system/list.h"

// A new firework rises between these speeds (pixels per frame, upwards negative), so each one
// leaves the window within a few hundred frames.
constexpr float FireworkFastestRise = -17;
constexpr float FireworkSlowestRise = -5;

// One rising particle of the background decoration, drawn with a trail of circles.
class firework {
public:
    float x = 0;  // head, window pixels
    float y = 0;
    float xv = 0; // pixels per frame; yv < 0 rises
    float yv = 0;
    uint8_t r = 0, g = 0, b = 0;
    float size = 1.0f;

    // Draws and moves every firework, retires those that have left the window, and perhaps
    // spawns one (more often the lower tint is). Called once per frame by every screen with the
    // animated background.
    static void Update();
};

// Live fireworks; they outlive every play.
extern TList<firework> fireworks;
