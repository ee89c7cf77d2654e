#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "game/controls.h"

class game;

// A player for recording test plays: it places each piece where a simple board evaluation likes
// it best (fewer holes, lower stack, cleared rows), pressing the keys a few frames apart as a
// person would, then holds the fast key (or hard-drops, and now and then holds a piece, where the
// play has those options); now and then it pauses. From frame recklessFrom on it only drops, so
// the play soon ends. Its choices depend only on its seed and the board, so the
// same seed and game give the same play.
class TScriptedPlayer {
public:
    TScriptedPlayer(uint32_t seed, uint32_t recklessFrom) : rng_(seed), recklessFrom_(recklessFrom) {}

    // Frames of the pause screen to show before the next play frame; mostly 0.
    uint32_t PauseFrames();
    // The controls for the next play frame.
    TControls Next(const game& play);

private:
    void Plan(const game& play);

    std::mt19937 rng_;
    uint32_t recklessFrom_;
    uint32_t frame_ = 0;
    const void* piece_ = nullptr; // the falling piece's first block, to notice a new piece
    std::vector<TControls> presses_;
    uint32_t wait_ = 0;
    bool pauseDue_ = false;
};
