#pragma once
#include <string>

#include "app/storage/data_folder.h"

// 3 bytes: music volume × 4, sound volume × 4, visibility.
inline std::string PreferencesFile() { return DataFilePath("preferences.dat"); }

// Reads the settings. A missing file is created with the defaults (bytes 1, 1, 0) after the line
// "Yo. " and its path kind on the standard output; a short one is moved aside to "...dat.bad"
// and treated as missing. One that cannot be read gives the defaults and is left as it is.
// Volumes are kept to 0..1.
void LoadPrefs();
// Writes the settings over the file as it is now, under the data folder's lock: a setting this
// copy did not change since it last read or wrote the file keeps what another copy saved (and
// takes it here too). False (and the old file intact, the reason on stderr) when the file cannot
// be read or written.
bool SavePrefs();
