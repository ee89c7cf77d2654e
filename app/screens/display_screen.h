#pragma once
#include <string>

// The Display page of the options screen: the window's scale, whole-number scaling and desktop
// fullscreen, each in force at once and kept in display.cfg.
void DisplayScreen();
// What the options screen's Display row shows: "Fullscreen" or the window's scale.
std::string DisplayPageValue();
