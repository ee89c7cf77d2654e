#pragma once
#include <array>
#include <cstdint>

#include "game/block.h"

constexpr int FramesPerSecond = 60;

// What a play has done so far, counted by the rules in every play. Counting draws nothing and
// decides nothing, so it never changes a play.
struct TPlayFigures {
    int64_t rows = 0;   // rows cleared
    int64_t pieces = 0; // pieces landed
    int64_t frames = 0; // frames played (pause frames are not)
    // Power-ups that took effect, by kind (index BlockSlowDown..BlockFlip; 0 stays unused).
    std::array<int64_t, PowerUpKinds + 1> powerUps{};
    int longestChain = 0; // most blasts set off within one row scan

    // Pieces landed per second of play; 0 before the first frame.
    double PiecesPerSecond() const;
    bool operator==(const TPlayFigures&) const = default;
};
