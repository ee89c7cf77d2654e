#pragma once

// Effect levels shared by the rules and the screens that show them.
extern float tint;    // background tint and firework rate; 250 at the start of a play
extern float wobble;  // rotation of the frame picture
extern float wobblev; // its rate of change
extern float flash;   // full-window flash
extern float glow;    // shadow strength

// Control flags, refreshed once per frame from the keyboard and read by game::DoPiece.
// Only zero or non-zero matters, so several presses within one frame count as one.
extern int keyrotleft;
extern int keyrotright;
extern int keyleft;
extern int keyright;
extern int keyfast;
