#pragma once
#include <string>

// The folder holding the running executable, without a trailing "/"; empty when unknown.
std::string ExecutableFolder();

// Makes the executable's folder the working directory, so that the relative names of the game
// ("gfx\...", "sfx\...", "data\...") resolve beside the program wherever it was started from.
bool EnterExecutableFolder();
