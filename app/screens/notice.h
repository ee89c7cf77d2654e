#pragma once
#include <functional>
#include <string>

// How long a notice stays unless dismissed: 2.5 seconds of frames.
constexpr int NoticeFrames = 150;

// Keeps the screen where something went wrong (drawn by drawScreen each frame) for a while with
// a short line of text under it, in the game's font, then returns so play goes on. A key or a
// click dismisses it early; the close box ends the program as on every screen.
void ShowNotice(const std::string& text, const std::function<void()>& drawScreen);
