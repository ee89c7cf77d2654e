#pragma once
#include <string>
#include <vector>

#include "app/settings/registry.h"

// Reading and saving the settings files as the registry declares them: one loader and one saver
// for every file.

// The path of a settings file in the config folder; empty when there is no data folder.
std::string SettingsFilePath(TSettingFile file);

struct TSettingsRead {
    bool found = false;                // false for a missing, unreadable or oversized file
    TSettingValues values;             // the defaults, with every line the file says well
    std::vector<std::string> warnings; // one a bad line: the file, the line, the default used
};

// Reads path as file: each line is checked against its key's declaration; a line the game cannot
// use keeps that setting's default and adds one warning.
TSettingsRead ReadSettings(TSettingFile file, const std::string& path);
// Reads the file into the running game's settings and reports its warnings on stderr.
TSettingsRead LoadSettings(TSettingFile file);

// Writes the settings ids of values into path, keeping the file's other lines as they are.
bool SaveSettings(TSettingFile file, const std::string& path, const TSettingValues& values,
                  const std::vector<TSettingId>& ids);
// SaveSettings of the running game's values into the data folder's file.
bool SaveSettings(TSettingFile file, const std::vector<TSettingId>& ids);
// A new file with every setting of file at its default, so a player finds what to edit.
bool WriteDefaultSettings(TSettingFile file, const std::string& path);

// The comment lines a new file starts with: its title, then each key with its help.
std::vector<std::string> SettingsFileHeader(TSettingFile file);
