#pragma once
#include <string>
#include <vector>

// The folder holding the pictures and sounds (gfx/ and sfx/). Until start-up chooses one the
// game's names resolve against the working directory.

// Where to look, in order: beside the executable (a build folder or an unpacked copy), then
// ../share/brimstrand from it (an installed tree, wherever it was moved), then the folder
// compiled in for the install prefix. Repeats are left out.
std::vector<std::string> AssetFolderCandidates(const std::string& executableFolder, const std::string& installedFolder);

// The first folder holding at least one of files (the game's names, "gfx\logo.png"); empty
// when none holds any.
std::string FirstFolderHolding(const std::vector<std::string>& folders, const std::vector<std::string>& files);

// The message for a game without any of its files.
std::string NoAssetFolderMessage(const std::vector<std::string>& folders);

void UseAssetFolder(std::string folder);
// The path to open for an asset by the game's name for it ("gfx\logo.png").
std::string AssetFilePath(const std::string& name);
