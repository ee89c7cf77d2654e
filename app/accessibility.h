#pragma once
#include <string>

#include "app/data_folder.h"

// Settings for players who need the game gentler than its default look, kept in the game's own
// settings file (never in preferences.dat, whose bytes stay as they are).
struct TAccessibility {
    bool reducedflashes = false; // "flashes = reduced": full-window flashes become a faint tint

    void Reset() { *this = TAccessibility{}; }
};

extern TAccessibility accessibility;

inline std::string GameSettingsFile() { return ConfigFilePath("settings.cfg"); }

// Reads "flashes = full" or "flashes = reduced" from settings.cfg; a missing file or key gives
// Full, a value it cannot use gives Full with a warning naming the file and line on stderr.
// Keys of other settings in the file are left to their owners.
void LoadAccessibility();
// Writes the setting into settings.cfg, keeping every other line's setting; false (said on
// stderr, the old file intact) when it cannot be written.
bool SaveAccessibility();

// The words the file and the options screen use.
const char* FlashesName(bool reduced);
