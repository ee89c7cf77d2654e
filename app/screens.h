#pragma once
#include <cstdint>
#include <memory>

#include "app/menu_input.h"
#include "game/controls.h"

class game;

// The screens. Each is a frame loop drawing one whole frame per pass, paced to 60 frames a second
// by Flip(-1); a screen opens another by calling it and carries on when it returns.

// The intro, then the title menu for ever.
[[noreturn]] void TitleScreen();
// One play from its start to its end, including the name entry after a lost play.
void PlayScreen();
// Returns when the player clicks (or presses Return, Space, pad A or Start) to resume.
void PauseScreen();

// The pieces of those screens that a replay runs as well, in the window or with nothing to draw
// on, so that it repeats every random draw of the play.
// A new play, before its first piece: the board in place and tint back at its start.
std::shared_ptr<game> NewPlay();
// One frame of play without showing it: background, fireworks, the piece moved by the controls,
// the rules, the board, the flashes.
void PlayFrame(game& play, const TControls& controls);
// One frame of the pause screen without showing it.
void PauseFrame();
// Frames shown since the program started; the frames between two of a play's are pause frames.
uint64_t FramesShown();

// Shared by the screens.
// Every screen with the background lets Tab switch Visibility first, so the frame already shows
// the new setting.
void ToggleVisibilityOnTab();
void DrawBackground();         // the turning background with its clock
enum TMusicTrack : int32_t { MusicPlay = 0, MusicTitle = 1 };
void PlayMusic(TMusicTrack which); // keeps that track playing and the other stopped
void DrawFlash();              // the full-window flash
void DrawFramePicture();       // "gfx\hud.png", dimmed at Low visibility
void SetCaptionColor();        // the tint of the "PAUSED" and "LOADING" captions, readable at either visibility
// 1 when the cursor lies strictly inside the box, else 0.
int32_t MouseInRect(int32_t x, int32_t y, int32_t width, int32_t height);
// MouseInRect, also setting the colour of a text item: darker when hovered.
int32_t HoverItem(int32_t x, int32_t y, int32_t width, int32_t height);
// Sets the colour of a text item: darker when shown as hovered (by the mouse or the key highlight).
void ItemColour(int32_t hovered);
// The top of a pause, table or options frame: title music, background, fireworks, the frame
// picture and the logo.
void DrawBackdrop();
// The "Return" item of the table and options screens, item number `item` of their focus; true
// (after the blip) when clicked or activated.
bool ReturnClicked(int32_t click, const TMenuFocus& focus, int32_t item);
// At the end of a table or options frame: the close box ends the program, Escape (true) leaves
// the screen.
bool EscapeToMenu();
// The end of a frame of every screen: finished sound effects are let go, then the frame is shown.
void EndFrame();
// The flash overlay and the blast flashes, then EndFrame.
void FinishFrame();
// Ends the program at the player's request; nothing is saved.
[[noreturn]] void EndProgram();
