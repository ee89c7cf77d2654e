#pragma once

// Effect levels shared by the rules, the fireworks and the screens that show them.
struct TEffects {
    float tint = 250.0f; // background tint and firework rate; 250 at the start of a play
    float wobble = 0.0f; // rotation of the frame picture
    float wobblev = 0.0f; // its rate of change
    float flash = 0.0f;  // full-window flash
    float glow = 0.0f;   // shadow strength

    void Reset() { *this = TEffects{}; }
};

extern TEffects effects;
