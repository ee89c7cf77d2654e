#pragma once
#include <string>

// Facts fixed when the game is built: set once in CMake.

// "X.Y.Z", the project's version.
const char* GameVersion();
// The reverse-DNS application id the desktop file, the icons and the AppStream data are named by.
const char* AppId();
// Where an install puts the pictures and sounds: the prefix's share/brimstrand.
std::string InstalledAssetFolder();
