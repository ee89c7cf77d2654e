#pragma once
#include <cstdint>

// Settings shared by the board's drawing and the shell; the preferences overwrite them
// at start-up.
struct TSettings {
    float musicvolume = 0.75f; // 0 to 1
    float soundvolume = 0.75f; // 0 to 1, fixed per effect when it starts
    int32_t visibility = 1;    // 1 "High", 0 "Low"

    void Reset() { *this = TSettings{}; }
};

extern TSettings settings;
