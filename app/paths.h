#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The folder holding the running executable, without a trailing "/"; empty when unknown.
std::string ExecutableFolder();

// Makes the executable's folder the working directory, so that the relative names of the game
// ("gfx\...", "sfx\...", "data\...") resolve beside the program wherever it was started from.
bool EnterExecutableFolder();

// Replaces the file at path as a whole: the bytes go to a temporary file in the same folder,
// are flushed to disk and the temporary file is renamed over the old one, so a crash or a
// full disk never leaves a truncated file. A missing parent folder is created. On failure the
// old file is left as it was and false is returned.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Renames a damaged file to path + ".bad" (replacing an older one), keeping it for inspection.
bool MoveAside(const std::string& path);
