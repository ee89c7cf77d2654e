#pragma once

#include <string>

// The small caption over a frame of a play being watched, in the game's text: "Demo" over a demo,
// "Replay" and its speed over a replay watched from the table.
void DrawCaption(const std::string& text);
void DrawDemoCaption();
