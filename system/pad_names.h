#pragma once
#include <cstdint>
#include <string>

// The names of the gamepad buttons (PadA...) in the controls file and on the screens: "A",
// "L Shoulder", "D-pad Left", "Stick Left" and so on.

// The button of a name (any letter case), or 0 when no button has that name.
int32_t PadButtonForName(const std::string& name);
// The name of a button, empty for no button.
std::string PadButtonName(int32_t button);
