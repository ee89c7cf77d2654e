#pragma once
#include <cstdint>

class TMenuFocus;

// The start of a menu screen's frame, the end of every screen's frame, and the ways out of a screen.

// A menu screen's frame begins: the keys move the focus, the canvas is cleared and the backdrop
// drawn. Returns the left clicks taken since the previous frame.
int32_t StartMenuFrame(TMenuFocus& focus);

// Finished sound effects are let go, then the frame is shown.
void EndFrame();
// The flash overlay and the blast flashes, then EndFrame.
void FinishFrame();
// Times the window was minimised or hidden since the program started: a play pauses and the
// attract demo's wait starts again on a change. While hidden, EndFrame sleeps and nothing is drawn.
uint32_t TimesHidden();
// Frames shown since the program started; the frames between two of a play's are pause frames.
uint64_t FramesShown();
// F1 was pressed in the frame EndFrame last ended; the title and pause screens then open the Keys
// page. Taken at every frame's end, so a press on a screen without the page is never kept for one
// with it.
bool KeysPageAsked();
// At the end of a table or options frame: the close box ends the program, Escape (true) leaves
// the screen.
bool EscapeToMenu();
// The close box or Escape ends the program (the title and pause screens).
void EndIfAsked();
// Ends the program at the player's request; nothing is saved.
[[noreturn]] void EndProgram();
