#pragma once
#include <string>

// The game's data folder: where the settings, the high scores and every other file the game
// writes are kept. Until start-up chooses one it is "data", relative to the working directory.

// Where the choice is made from; empty strings stand for "not given" or "unset".
struct TDataFolderSources {
    std::string option;           // --data-dir
    std::string environment;      // $BRIMSTRAND_DATA_DIR
    std::string besideExecutable; // "data" beside the executable, given only when the assets were found there
    std::string xdgDataHome;      // $XDG_DATA_HOME
    std::string home;             // $HOME
};

struct TDataFolderChoice {
    std::string folder;  // empty when there is none: nothing is read or saved
    std::string warning; // for stderr, once, when nothing the game writes will be kept
};

// --data-dir, else $BRIMSTRAND_DATA_DIR, else "data" beside the executable when it can be
// written, else $XDG_DATA_HOME/brimstrand, else $HOME/.local/share/brimstrand: the first that
// can be written or created. Relative XDG_DATA_HOME and HOME are ignored, as the base directory
// rules ask.
TDataFolderChoice ChooseDataFolder(const TDataFolderSources& sources);

// True when folder is a writable directory, or the nearest existing folder above it is one (it
// can then be made on the first save).
bool CanWriteOrCreateFolder(const std::string& folder);

void UseDataFolder(std::string folder);
const std::string& DataFolder();
// The path of a file in the data folder; empty when there is no data folder.
std::string DataFilePath(const std::string& name);
