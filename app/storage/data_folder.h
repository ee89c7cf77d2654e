#pragma once
#include <string>
#include <vector>

// The game's data folder: where the high scores, the replays and every other file the game
// writes are kept, and its config folder, where the settings files (.cfg) are. Until start-up
// chooses them both are "data", relative to the working directory.

// Where the choice is made from; empty strings stand for "not given" or "unset".
struct TDataFolderSources {
    std::string option;           // --data-dir
    std::string environment;      // $BRIMSTRAND_DATA_DIR
    std::string besideExecutable; // "data" beside the executable, given only when the assets were found there
    std::string xdgDataHome;      // $XDG_DATA_HOME
    std::string home;             // $HOME
    std::string xdgConfigHome;    // $XDG_CONFIG_HOME
};

struct TDataFolderChoice {
    std::string folder;  // empty when there is none: nothing is read or saved
    std::string warning; // for stderr, once: nothing the game writes will be kept, or a folder set was passed over
};

// --data-dir, else $BRIMSTRAND_DATA_DIR, else "data" beside the executable when it can be
// written, else $XDG_DATA_HOME/brimstrand, else $HOME/.local/share/brimstrand: the first that
// can be written or created. Relative XDG_DATA_HOME and HOME are ignored, as the base directory
// rules ask.
TDataFolderChoice ChooseDataFolder(const TDataFolderSources& sources);

// True when folder is a writable directory, or the nearest existing folder above it is one (it
// can then be made on the first save).
bool CanWriteOrCreateFolder(const std::string& folder);

// The data folder itself when it was chosen (--data-dir, $BRIMSTRAND_DATA_DIR) or is the portable
// one beside the executable, else $XDG_CONFIG_HOME/brimstrand, else $HOME/.config/brimstrand:
// the first that can be written or created, and the data folder when neither can.
std::string ChooseConfigFolder(const TDataFolderSources& sources, const TDataFolderChoice& data);

// Moves each settings file (*.cfg) of the old folder that the new one lacks, once: later starts
// find it at its new place. Returns one line per file moved or left behind, for stderr.
std::vector<std::string> MoveSettingsFiles(const std::string& from, const std::string& to);

void UseDataFolder(std::string folder);
const std::string& DataFolder();
// The path of a file in the data folder; empty when there is no data folder.
std::string DataFilePath(const std::string& name);

void UseConfigFolder(std::string folder);
const std::string& ConfigFolder();
// The path of a settings file in the config folder; empty when there is none.
std::string ConfigFilePath(const std::string& name);
