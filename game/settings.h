#pragma once
#include <cstdint>

// Settings shared by the board's drawing and the shell; the preferences overwrite them
// at start-up.
extern float musicvolume;   // 0 to 1
extern float soundvolume;   // 0 to 1, fixed per effect when it starts
extern int32_t visibility;  // 1 "High", 0 "Low"
