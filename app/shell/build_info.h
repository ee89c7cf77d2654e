#pragma once
#include <string>

// Facts fixed when the game is built: set once in CMake.

// "X.Y.Z", the project's version.
const char* GameVersion();
// Where an install puts the pictures and sounds: the prefix's share/brimstrand.
std::string InstalledAssetFolder();
