#pragma once
#include <cstdint>

// The game draws on a canvas of 512 by 512 window pixels, whatever the window's real size.
constexpr int32_t WindowWidth = 512;
constexpr int32_t WindowHeight = 512;
