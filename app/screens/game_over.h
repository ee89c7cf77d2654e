#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct TPlayFigures;

// How long the game-over view stays unless dismissed: two seconds of frames.
constexpr int GameOverFrames = 120;

// After a lost play: the final board (drawn by drawBoard each frame) stays under "Game over", the
// score and the play's figures, so a loss never looks like the game quitting, until the time is up
// or a key or a click dismisses it. The play screen shows it for a player's own play only.
void ShowGameOver(int32_t points, const TPlayFigures& figures, const std::function<void()>& drawBoard);
// The same view for a play that ended at its goal (a challenge): the title and the result line
// in place of "Game over" and the score.
void ShowPlayEnd(const std::string& title, const std::string& line, const TPlayFigures& figures,
                 const std::function<void()>& drawBoard);
