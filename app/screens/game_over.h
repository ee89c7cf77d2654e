#pragma once
#include <cstdint>
#include <functional>

struct TPlayFigures;

// How long the game-over view stays unless dismissed: two seconds of frames.
constexpr int GameOverFrames = 120;

// After a lost play: the final board (drawn by drawBoard each frame) stays under "Game over", the
// score and the play's figures, so a loss never looks like the game quitting, until the time is up
// or a key or a click dismisses it. The play screen shows it for a player's own play only.
void ShowGameOver(int32_t points, const TPlayFigures& figures, const std::function<void()>& drawBoard);
