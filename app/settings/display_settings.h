#pragma once
#include <string>
#include <vector>

#include "app/settings/registry.h"
#include "draw2d/window.h"

// The display choices the game remembers between runs, in "display.cfg" in the data folder.
struct TDisplaySettings {
    TWindowSize windowed;      // the last window size; zero until there is one
    bool fullscreen = false;   // desktop fullscreen
    bool integerScale = false; // whole-number scales only
    bool operator==(const TDisplaySettings&) const = default;
};

struct TDisplaySettingsRead {
    TDisplaySettings settings;
    std::vector<std::string> warnings; // one a line the game could not use
};

// Each line the game cannot use keeps that setting's default and gives one warning; a width
// without a height (or the reverse) is half a size, and no size is used.
TDisplaySettingsRead ReadDisplaySettings(const std::string& path);

// Writes the settings into the file, keeping its other lines; the size only when there is one.
bool SaveDisplaySettings(const std::string& path, const TDisplaySettings& settings);
