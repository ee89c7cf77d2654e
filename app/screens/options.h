#pragma once
#include <string>

// Five characters, "_" at the volume's level (0 to 4) and "-" elsewhere.
std::string LevelBar(float volume);
// The volume a click at window column x sets on a volume row: 11-pixel zones from x = 321.
float VolumeAtColumn(int x);
// A click at window column x on the effect volume row: sets the volume, then plays the blip, so
// the player hears the level just chosen.
void ChooseSoundVolume(int x);

// The options screen of the title menu.
void OptionsScreen();
