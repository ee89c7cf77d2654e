#pragma once
#include <memory>

#include "game/controls.h"

class game;

// The frames of a play that a replay runs as well, in the window or with nothing to draw on, so
// that it repeats every random draw of the play.

// A new play, before its first piece: the board in place and tint back at its start.
std::shared_ptr<game> NewPlay();
// One frame of play without showing it: background, fireworks, the piece moved by the controls,
// the rules, the board, the flashes.
void PlayFrame(game& play, const TControls& controls);
// One frame of the pause screen without showing it.
void PauseFrame();
// Everything of a play frame under the board.
void DrawPlayBackdrop();
